// Costs the drivers pay for logging and queueing on their hot paths.
#include <benchmark/benchmark.h>

#include <memory>

#include "lintra/runtime/CommonProc.h"
#include "lintra/runtime/DumbQueue.h"
#include "lintra/runtime/Logger.h"
#include "platform/Registry.h"
#include "testsupport/TempDir.h"

namespace {

void SetDword(std::string_view key, std::string_view name, uint32_t value) {
    tessel::RegKey::open(tessel::Hive::CurrentUser, key, true)->writeDword(name, value);
}

// A record above the line's level: what a driver pays for its detailed records when they are off.
void BM_FilteredRecord(benchmark::State &state) {
    testsupport::IsolatedHost host;
    SetDword("Software\\Tessel\\Logging", "MaxLevel", 9);
    SetDword("Software\\Tessel\\Lintra\\Logging", "Line1", 2);
    lintra::CommonProcLoad();
    for (auto _ : state) lintra::LogLine(1, "TPultControl.ServePult:: подробности", 9);
    lintra::CommonProcUnload();
}
BENCHMARK(BM_FilteredRecord);

// A record that passes the filter: stamp, format and its own write(2), into the page cache or,
// written through, onto the storage device.
void BM_WrittenRecord(benchmark::State &state, int mode) {
    testsupport::IsolatedHost host;
    SetDword("Software\\Tessel\\Logging", "MaxLevel", 9);
    SetDword("Software\\Tessel\\Logging", "LimRecs", 0);
    auto log = std::make_unique<lintra::TLogger>("bench.log", 9, lintra::lmDeferOpen | mode);
    for (auto _ : state) log->Write(5, "TPultControl.ServePult:: ответ получен, код 87");
    log.reset();
}
BENCHMARK_CAPTURE(BM_WrittenRecord, os_buffered, 0);
BENCHMARK_CAPTURE(BM_WrittenRecord, write_through, int{lintra::lmWriteThrough});

void BM_QueuePutGet(benchmark::State &state) {
    static lintra::TDumbQueue *queue = nullptr;
    if (state.thread_index() == 0) queue = new lintra::TDumbQueue(64);
    uint32_t value = 1;
    for (auto _ : state) {
        queue->Put(&value);
        queue->Get(&value);
    }
    if (state.thread_index() == 0) {
        delete queue;
        queue = nullptr;
    }
}
BENCHMARK(BM_QueuePutGet)->Threads(1)->Threads(4)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
