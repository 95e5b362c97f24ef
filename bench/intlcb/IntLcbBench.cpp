// An intelligent line-controller line over loopback TCP against units-sim with 250 units and no
// faults: units polled per second, and the library's CPU per poll (the process's CPU time; the
// simulator runs in a process of its own, the waits on the wire cost none).
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "lintra/include/lintra.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace {

constexpr int kLine = 1;
constexpr uint8_t kUnits = 250;

struct Cpu {
    double user;
    double system;
};

Cpu processCpu() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return {usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6, usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6};
}

int32_t answers() {
    const auto line = lintra::LineTable::Get(kLine);
    return line ? line->answerCounter() : 0;
}

void BM_NetComPolling(benchmark::State &state) {
    testsupport::IsolatedHost host;
    sim::test::SimChild sim(UNITS_SIM_PATH, {"--tcp", "0", "--units", "0-249", "--log", "/dev/null"});
    const std::string port = "127.0.0.1:" + sim.ready().substr(10) + ":bench";
    lintra::CommonProcLoad();
    lintra::ComUnitLoad();
    if (StartNetComNew(kLine, port.c_str()) != 1) {
        state.SkipWithError("no line");
        return;
    }
    LCBCommand(kLine, 3, 1, &kUnits);
    for (int unit = 0; unit < kUnits; ++unit) {
        const uint8_t params[2] = {static_cast<uint8_t>(unit), 0};
        LCBCommand(kLine, 1, 2, params);
    }
    LCBCommand(kLine, 6, 0, nullptr);
    // The polling thread starts after its first pause; wait for the first answers.
    while (answers() < 10) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto window = std::chrono::milliseconds(state.range(0));
    for (auto _ : state) {
        const int32_t polls0 = answers();
        const Cpu cpu0 = processCpu();
        const auto wall0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(window);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        const double polls = answers() - polls0;
        state.SetIterationTime(wall);
        state.counters["polls_per_s"] = polls / wall;
        const Cpu cpu1 = processCpu();
        const double perPoll = polls > 0 ? 1e6 / polls : 0;
        state.counters["user_us_per_poll"] = (cpu1.user - cpu0.user) * perPoll;
        state.counters["system_us_per_poll"] = (cpu1.system - cpu0.system) * perPoll;
        state.counters["cpu_us_per_poll"] = (cpu1.user - cpu0.user + cpu1.system - cpu0.system) * perPoll;
    }
    CloseCom(kLine);
    lintra::ComUnitUnload();
    lintra::CommonProcUnload();
}
BENCHMARK(BM_NetComPolling)->Arg(3000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
