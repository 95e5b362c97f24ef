// bench-zaltor: what the loader costs. A full batch write of the demo's big panel by the zaltor
// program against m50-sim pacing its answers at the line's baud rate, and the configuration
// image built in this process from the demo site in SQLite and in Firebird.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <QCoreApplication>

#include "bench/zaltor/DemoSite.h"
#include "bench/zaltor/ImageBuilds.h"
#include "bench/zaltor/WireTally.h"
#include "platform/Registry.h"
#include "sim/tests/SimChild.h"

namespace {

using Wall = std::chrono::steady_clock;

// The loader's fixed pauses: the wait after opening the line, the library's pause before each
// direct send.
constexpr double kOpenWaitSeconds = 30 * 0.050;
constexpr double kBeforeSendSeconds = 0.020;

double seconds(const timeval &t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

struct WriteRun {
    double wallSeconds = 0;
    rusage usage{};
    bench::WireTally wire;
};

// `zaltor DEMO 1` from the site's directory, its standard error into write.log; its own
// resource use comes with its exit.
void runZaltor(const bench::DemoSite &site, WriteRun &run) {
    const std::string log = (site.dir() / "write.log").string();
    const auto start = Wall::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(err, STDERR_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::execl(ZALTOR_PATH, "zaltor", "DEMO", "1", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::wait4(pid, &status, 0, &run.usage) != pid)
        throw std::runtime_error("cannot run zaltor");
    run.wallSeconds = std::chrono::duration<double>(Wall::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("zaltor DEMO 1 failed (wait status " + std::to_string(status) +
                                 "); its output:\n" + site.dir().read("write.log"));
}

WriteRun fullWrite(int sleepParam) {
    bench::DemoSite site;
    site.dir().write("Zaltor.ini", "[PARAMS]\nSleepParam=" + std::to_string(sleepParam) + "\n");
    const std::string wireLog = (site.dir() / "wire.log").string();
    WriteRun run;
    {
        sim::test::SimChild sim(M50_SIM_PATH,
                                {"--pty", "--panel", "5", "--pace", "--log", wireLog});
        const std::string ready = sim.ready();
        if (ready.rfind("ready pty ", 0) != 0) throw std::runtime_error("m50-sim: '" + ready + "'");
        auto ports =
            tessel::RegKey::open(tessel::Hive::LocalMachine, "SOFTWARE\\Tessel\\Ports", true);
        if (!ports || !ports->writeString("COM3", ready.substr(10)))
            throw std::runtime_error("cannot map COM3");
        runZaltor(site, run);
    }
    run.wire = bench::tallyWireLog(wireLog);
    return run;
}

// With ReplayParam 3 every attempt that gets a good answer is followed by one SleepParam pause;
// each request the panel heard is an attempt.
double leastSeconds(const bench::WireTally &wire, int sleepParam) {
    return kOpenWaitSeconds + wire.requests * (kBeforeSendSeconds + sleepParam / 1000.0) +
           wire.wireSeconds;
}

void reportWrite(int sleepParam) {
    const WriteRun run = fullWrite(sleepParam);
    const double least = leastSeconds(run.wire, sleepParam);
    const double cpu = seconds(run.usage.ru_utime) + seconds(run.usage.ru_stime);
    std::printf("SleepParam=%d\n", sleepParam);
    std::printf("  1) full write             %.3f s, least %.3f s, ratio %.4f  (goal <= 1.03)\n",
                run.wallSeconds, least, run.wallSeconds / least);
    std::printf("     wire: %d requests (%llu bytes), %d answers (%llu bytes), %.3f s in mode %d\n",
                run.wire.requests, static_cast<unsigned long long>(run.wire.requestBytes),
                run.wire.answers, static_cast<unsigned long long>(run.wire.answerBytes),
                run.wire.wireSeconds, run.wire.lastMode);
    std::printf(
        "  2) zaltor CPU             %.2f %% of wall (user %.3f s, system %.3f s)  (goal <= 2 "
        "%%)\n",
        cpu * 100 / run.wallSeconds, seconds(run.usage.ru_utime), seconds(run.usage.ru_stime));
    std::printf("     zaltor peak memory     %.1f MB  (goal <= 40 MB)\n",
                static_cast<double>(run.usage.ru_maxrss) / 1024);
    std::fflush(stdout);
}

void printHeader() {
    std::printf(
        "bench-zaltor: the loader writing the demo site's panel 1 (50 blocks, 196 zones,\n"
        "100 users, 8 sections).\n"
        "1) `zaltor DEMO 1` against `m50-sim --pty --panel 5 --pace` (answers paced at the\n"
        "   line's baud rate after the request's own wire time): wall time from start to\n"
        "   exit over the least the loader's rules allow: %.1f s after opening the line,\n"
        "   %.0f ms before each request the panel heard, one SleepParam pause after each\n"
        "   (ReplayParam 3), and the wire time of every request and answer in the simulator's\n"
        "   wire log at the line's speed mode (10 bits a byte, 11 with the ninth bit).\n"
        "   One run each with SleepParam 50 (the default) and 0 (Zaltor.ini).\n"
        "2) zaltor's own CPU (user+system from wait4) as a share of that wall time, and its\n"
        "   peak resident memory (ru_maxrss).\n"
        "3) buildFromDatabase of panel 1 in this process through the loader's own connection:\n"
        "   the demo site in an SQLite file as in 1), and in a private Firebird server on\n"
        "   loopback; %d builds each.\n\n",
        kOpenWaitSeconds, kBeforeSendSeconds * 1000, bench::kBuildRuns);
    std::fflush(stdout);
}

int run() {
    printHeader();
    for (const int sleepParam : {50, 0}) reportWrite(sleepParam);
    {
        const bench::DemoSite site;
        const zaltor::shell::TSiteDatabase db =
            bench::openAlias(site.alias(), bench::DemoSite::login());
        bench::reportBuilds("SQLite", db.database(), "<= 50 ms");
    }
#ifdef BENCH_FIREBIRD_SERVER
    bench::reportFirebirdBuilds();
#else
    std::printf(
        "  3) image from Firebird   skipped: built without the Firebird client headers "
        "(firebird-dev)\n");
#endif
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    // A reader that leaves early (| head) must not kill the program before it stops m50-sim.
    ::signal(SIGPIPE, SIG_IGN);
    // The SQL drivers are plugins, which Qt loads only with an application object.
    QCoreApplication app(argc, argv);
    try {
        return run();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench-zaltor: %s\n", e.what());
        return 1;
    }
}
