// CPU the panel lines cost the host: one direct exchange with wire time and the protocol's
// pauses taken out, and the polling threads of silent lines.
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "lintra/include/lintra.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/lines/tests/PultFixture.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Registry.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace {

using lintra::test::signedBytes;

// The whole exchange over a fake port whose reads and pauses cost no time: what is left is the
// library's own work per command and reply (frame, checksum, logs off, reply record).
void BM_DirectExchangeCpu(benchmark::State &state) {
    lintra::test::PultFixture f;
    const auto reply = signedBytes({0xA5, lintra::test::kAddress, 90, 17, 0});
    const lintra::PanelFrame command = lintra::PanelFrame::command(lintra::test::kAddress, 93, {});
    lintra::EventRecord record{};
    for (auto _ : state) {
        f.port->clearTrace();
        f.port->script(reply);
        f.line->SendCmdGetRepl(command, record);
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_DirectExchangeCpu);

double threadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// The library's own CPU per direct exchange with m50-sim on a pseudo-terminal, measured as the
// calling thread's CPU time: wire time and the protocol's pauses are waits and do not count.
void BM_DirectExchangeWithSim(benchmark::State &state) {
    testsupport::IsolatedHost host;
    sim::test::SimChild sim(M50_SIM_PATH, {"--pty", "--panel", "5", "--log", "/dev/null"});
    const std::string port = sim.ready().substr(sim.ready().rfind(' ') + 1);
    lintra::CommonProcLoad();
    lintra::ComUnitLoad();
    if (StartPanelNew(1, port.c_str(), 5) != 1) state.SkipWithError("no line");
    LintraEventRecord reply{};
    for (auto _ : state) {
        const double cpu0 = threadCpuSeconds();
        SendCmdGetReply(1, 0, 93, 0, nullptr, &reply);
        state.SetIterationTime(threadCpuSeconds() - cpu0);
        if (reply.code != 90) state.SkipWithError("panel did not answer");
    }
    CloseCom(1);
    lintra::ComUnitUnload();
    lintra::CommonProcUnload();
}
BENCHMARK(BM_DirectExchangeWithSim)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

intptr_t benchWindow = 0;
intptr_t ignoreMessage(void *, uint32_t, uintptr_t, intptr_t) { return 0; }
// Records by callback, dropped: a shared-memory line without a collector would stop polling.
intptr_t dropRecord(void *record, intptr_t) { return record ? 0 : benchWindow; }

// Silent panel lines with message polling on, spread over pseudo-terminals that nobody answers
// (one polling thread per port). The figure is the share of one core the process used while
// they polled.
void BM_SilentLinesPolling(benchmark::State &state) {
    const int lines = static_cast<int>(state.range(0));
    const int ports = static_cast<int>(state.range(1));
    testsupport::IsolatedHost host;
    auto speeds = tessel::RegKey::open(tessel::Hive::CurrentUser, "Software\\Tessel\\Lintra\\Speeds", true);
    speeds->writeDword("UseAutoSpeed", 1);  // no speed change at start: faster to open
    lintra::CommonProcLoad();
    lintra::ComUnitLoad();
    benchWindow = LintraRegisterWindow(ignoreMessage, nullptr);
    std::vector<int> masters;
    std::vector<std::string> names;
    for (int i = 0; i < ports; ++i) {
        int master = -1, slave = -1;
        char name[128];
        ::openpty(&master, &slave, name, nullptr, nullptr);
        ::close(slave);
        masters.push_back(master);
        names.push_back(name);
    }
    for (int line = 1; line <= lines; ++line) {
        const int port = (line - 1) % ports;
        StartPanel(line, names[port].c_str(), reinterpret_cast<intptr_t>(&dropRecord),
                   static_cast<uint16_t>((line - 1) / ports));
        lintra::LineTable::Get(line)->SendComMsg(lintra::PanelFrame::connectionRestored(4), 0);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));  // every thread past its start pause

    for (auto _ : state) {
        const double cpu0 = processCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        state.counters["core_percent"] = 100.0 * (processCpuSeconds() - cpu0) / wall;
    }
    ShutdownAll();  // idle steps: closing waits for no silent exchange
    for (int line = 1; line <= lines; ++line) CloseCom(line);
    for (int master : masters) ::close(master);
    lintra::ComUnitUnload();
    lintra::CommonProcUnload();
}
BENCHMARK(BM_SilentLinesPolling)
    ->ArgNames({"lines", "ports"})
    ->Args({1, 1})
    ->Args({16, 16})
    ->Args({255, 16})
    ->Args({255, 255})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
