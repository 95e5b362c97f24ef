// An intelligent line-controller line over loopback TCP against units-sim with 250 units and no
// faults: units polled per second, and the library's CPU per poll (the process's CPU time; the
// simulator runs in a process of its own, the waits on the wire cost none). Polls are counted
// as the simulator's units heard them, so a failed exchange is never taken for a poll.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>
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

using Time = std::chrono::steady_clock::time_point;

// The polls the simulator's units received so far ("counts ADDR": "ok heard H answered A polls P
// ..."), stamped with the middle of the time the 250 questions took.
struct PollCount {
    long polls;
    Time at;
};

PollCount unitPolls(sim::test::SimChild &sim, const std::string &control) {
    const Time begin = std::chrono::steady_clock::now();
    long total = 0;
    for (int unit = 0; unit < kUnits; ++unit) {
        std::istringstream fields(sim.command(control, "counts " + std::to_string(unit)));
        std::string word;
        while (fields >> word && word != "polls") {
        }
        long polls = 0;
        fields >> polls;
        total += polls;
    }
    return {total, begin + (std::chrono::steady_clock::now() - begin) / 2};
}

double seconds(Time from, Time to) { return std::chrono::duration<double>(to - from).count(); }

void BM_NetComPolling(benchmark::State &state) {
    testsupport::IsolatedHost host;
    const std::string control = (host.dir() / "units.ctl").string();
    sim::test::SimChild sim(UNITS_SIM_PATH,
                            {"--tcp", "0", "--units", "0-249", "--log", "/dev/null", "--control", control});
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
    while (unitPolls(sim, control).polls < 10) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto window = std::chrono::milliseconds(state.range(0));
    for (auto _ : state) {
        // The poll rate and the CPU rate are taken over windows that differ only by the time the
        // counts take to read; the reading itself costs the process no CPU inside its window.
        const PollCount polls0 = unitPolls(sim, control);
        const Cpu cpu0 = processCpu();
        const Time wall0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(window);
        const Cpu cpu1 = processCpu();
        const Time wall1 = std::chrono::steady_clock::now();
        const PollCount polls1 = unitPolls(sim, control);
        const double wall = seconds(wall0, wall1);
        const double pollsPerS = static_cast<double>(polls1.polls - polls0.polls) / seconds(polls0.at, polls1.at);
        state.SetIterationTime(wall);
        state.counters["polls_per_s"] = pollsPerS;
        const double perPoll = pollsPerS > 0 ? 1e6 / (pollsPerS * wall) : 0;
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
