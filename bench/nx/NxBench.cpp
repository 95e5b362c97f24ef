// bench-nx: what the library's NX driver costs, run as a client creates it in this process
// against ncx-sim over loopback TCP. The simulator is a process of its own, so this process's
// CPU time (getrusage) less the main thread's, which only starts and watches, is the driver's.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/nx/CpuTime.h"
#include "bench/nx/LinkBytes.h"
#include "lintra/nx/NXEthDriver.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace {

using lintra::nx::TCommDriver;
using lintra::nx::TNXDriver;
using lintra::nx::TNXEthDriver;
using namespace std::chrono_literals;
using Wall = std::chrono::steady_clock;

constexpr int kBurstPackets = 100000;
constexpr uint64_t kPacketBytes = sizeof "T1LFA109D0BNCX-SIM 1.0\r" - 1;  // what burst sends
constexpr int kBurstRuns = 5;
constexpr int kIdleRuns = 3;
constexpr auto kIdleWindow = 10s;
constexpr int kReconnectRuns = 5;

double libraryCpuSeconds() { return bench::cpuSeconds(RUSAGE_SELF) - bench::cpuSeconds(RUSAGE_THREAD); }

// Polls until the condition holds; a run that never gets there ends the program.
void await(const char *what, std::chrono::milliseconds bound, std::chrono::milliseconds step,
           const std::function<bool()> &condition) {
    const auto end = Wall::now() + bound;
    while (!condition()) {
        if (Wall::now() > end) throw std::runtime_error(std::string("gave up waiting for ") + what);
        std::this_thread::sleep_for(step);
    }
}

struct Rig {
    sim::test::SimChild &sim;
    std::string control;
    uint16_t port;
    TNXEthDriver &driver;

    void command(const std::string &text, const std::string &answer) {
        const std::string got = sim.command(control, text);
        if (got != answer) throw std::runtime_error("'" + text + "' answered '" + got + "'");
    }
};

// a) The driver has a packet only once it has read its bytes from the socket. What the last
// read left unparsed (at most one chunk of 1 KiB) goes in the passes right after; the pause
// below covers them. The idle passes while the simulator gets its burst ready and in that
// pause are counted too: under a millisecond in all (see b), under 0.01 us a packet.
double cpuPerPacketUs(Rig &rig) {
    const int fd = bench::socketTo(rig.port);
    const auto start = fd >= 0 ? bench::bytesTaken(fd) : std::nullopt;
    if (!start) throw std::runtime_error("no socket of the driver");
    const uint64_t goal = *start + kBurstPackets * kPacketBytes;
    const double cpu0 = libraryCpuSeconds();
    rig.command("burst " + std::to_string(kBurstPackets), "ok " + std::to_string(kBurstPackets));
    await("the burst to be read", 30s, 2ms, [&] {
        const auto taken = bench::bytesTaken(fd);
        if (!taken) throw std::runtime_error("the link dropped during the burst");
        return *taken >= goal;
    });
    std::this_thread::sleep_for(50ms);
    if (!rig.driver.Connected()) throw std::runtime_error("the burst dropped the link");
    return (libraryCpuSeconds() - cpu0) * 1e6 / kBurstPackets;
}

// b) SilentWarn is set to an hour, so no keep-alive question falls in the window.
double idlePercent() {
    const double cpu0 = libraryCpuSeconds();
    std::this_thread::sleep_for(kIdleWindow);
    return (libraryCpuSeconds() - cpu0) * 100 / std::chrono::duration<double>(kIdleWindow).count();
}

// c) From the drop command until the driver is connected again: noticing the closed socket,
// a new connection at once (the last attempt succeeded) and the start-up exchange that ends
// with the configuration hold.
double reconnectRatio(Rig &rig) {
    const auto begin = Wall::now();
    rig.command("drop", "ok");
    await("the drop to be noticed", 5s, 1ms, [&] { return !rig.driver.Connected(); });
    await("the link to come back", 10s, 1ms, [&] { return rig.driver.Connected(); });
    const std::chrono::duration<double, std::milli> took = Wall::now() - begin;
    return took.count() / TNXDriver::kConfigHoldMs;
}

void report(const char *name, int runs, const std::function<double()> &measure, const char *format,
            const char *goal) {
    std::vector<double> values;
    for (int run = 0; run < runs; ++run) values.push_back(measure());
    std::sort(values.begin(), values.end());
    const double median = runs % 2 ? values[runs / 2] : (values[runs / 2 - 1] + values[runs / 2]) / 2;
    std::printf("%-24s min ", name);
    std::printf(format, values.front());
    std::printf("  median ");
    std::printf(format, median);
    std::printf("  (goal %s, %d runs)\n", goal, runs);
    std::fflush(stdout);
}

void printHeader() {
    std::printf(
        "bench-nx: the NX driver (TNXEthDriver) in this process, ncx-sim over loopback TCP in its own.\n"
        "CPU is the process's (user+system, getrusage) less the main thread's, which only watches.\n"
        "a) CPU per packet: CPU from 'burst %d' (version answers of the controller's own line,\n"
        "   %llu bytes each, taken as answers without a question) until the driver has read them\n"
        "   all from its socket, over the packets.\n"
        "b) idle CPU: CPU over %lld s of wall time, link up, no traffic, no keep-alive due; percent\n"
        "   of one core.\n"
        "c) reconnect: wall time from 'drop' on the simulator until Connected() again, over the\n"
        "   %u ms configuration hold every start-up exchange ends with.\n\n",
        kBurstPackets, static_cast<unsigned long long>(kPacketBytes),
        static_cast<long long>(std::chrono::seconds(kIdleWindow).count()), TNXDriver::kConfigHoldMs);
}

int run() {
    testsupport::IsolatedHost host;
    const std::string control = (host.dir() / "ncx.ctl").string();
    sim::test::SimChild sim(NCX_SIM_PATH, {"--tcp", "0", "--control", control, "--log", "/dev/null"});
    if (sim.ready().rfind("ready tcp ", 0) != 0) throw std::runtime_error("ncx-sim: '" + sim.ready() + "'");
    const auto port = static_cast<uint16_t>(std::stoi(sim.ready().substr(10)));

    // Made as the Driver API makes one: a handle and its log at the default level.
    std::unique_ptr<TNXEthDriver, void (*)(TCommDriver *)> driver(new TNXEthDriver, TCommDriver::Destroy);
    driver->Attach(1);
    const std::string params = "Host=127.0.0.1\r\nPort=" + std::to_string(port) + "\r\nSilentWarn=3600000";
    const auto list = lintra::nx::TParamList::FromText(params.c_str());
    driver->Init(&list);
    driver->Start();
    await("the first connection", 10s, 10ms, [&] { return driver->Connected(); });

    Rig rig{sim, control, port, *driver};
    printHeader();
    report("a) CPU per packet", kBurstRuns, [&] { return cpuPerPacketUs(rig); }, "%.2f us", "<= 20 us");
    report("b) idle driver CPU", kIdleRuns, [&] { return idlePercent(); }, "%.4f %%", "<= 0.05 %");
    report("c) reconnect / hold", kReconnectRuns, [&] { return reconnectRatio(rig); }, "%.3f", "<= 1.05");
    return 0;
}

}  // namespace

int main() {
    // A reader that leaves early (| head) must not kill the program before it stops ncx-sim.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return run();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench-nx: %s\n", e.what());
        return 1;
    }
}
