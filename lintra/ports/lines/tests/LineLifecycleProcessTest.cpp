// The line lifecycle of the real liblintra.so in a client process (lintra_lifecycle_probe)
// against the simulators: a callback that closes its own line, for every line kind, a process
// that exits or unloads the library with lines of every kind open and busy, two threads
// closing one line, and gateway lines started on a host name that does not resolve. Under the
// sanitizer builds a race or a use after free in those paths fails the probe.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "lintra/ports/lines/tests/LintraApi.h"
#include "lintra/ports/tests/LogRecords.h"
#include "platform/Registry.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

struct Kind {
    const char *name;
    const char *sim;
    std::vector<std::string> args;
    const char *event;  // a control command that makes the equipment report something
};

const std::vector<Kind> &Kinds() {
    static const std::vector<Kind> kinds = {
        {"panel", M50_SIM_PATH, {"--pty", "--panel", "5"}, "event 5 3 0x11 0 1"},
        {"netrs", M50_SIM_PATH, {"--tcp", "0", "--pad", "13", "--panel", "5"}, "event 5 3 0x11 0 1"},
        {"lcb", LCB_SIM_PATH, {"--pty", "--units", "1", "--polling", "--idle", "200"}, "event 1 0x21 0x05 0x06"},
        {"intcom", UNITS_SIM_PATH, {"--pty", "--units", "1-3"}, "event 2 0x1F 9"},
        {"netcom", UNITS_SIM_PATH, {"--tcp", "0", "--units", "1-3"}, "event 2 0x1F 9"},
    };
    return kinds;
}

// One simulator for a line kind, with the port string a client opens it by.
struct Equipment {
    const Kind &kind;
    std::string control;
    sim::test::SimChild sim;
    std::string port;

    Equipment(const Kind &k, const std::filesystem::path &dir)
        : kind(k),
          control((dir / (std::string(k.name) + ".ctl")).string()),
          sim(k.sim, withControl(k, control, (dir / (std::string(k.name) + ".wire.log")).string())) {
        const std::string &ready = sim.ready();
        const std::string where = ready.substr(ready.rfind(' ') + 1);
        port = ready.rfind("ready tcp ", 0) == 0 ? "127.0.0.1:" + where + ":hello" : where;
    }
    static std::vector<std::string> withControl(const Kind &k, const std::string &control, const std::string &log) {
        std::vector<std::string> args = k.args;
        args.insert(args.end(), {"--control", control, "--log", log});
        return args;
    }
    std::string argument() const { return std::string(kind.name) + "=" + port; }
    void report() { sim.command(control, kind.event); }
};

// The probe with its standard output read line by line.
struct Probe {
    pid_t pid = -1;
    int out = -1;
    explicit Probe(std::vector<std::string> args) {
        args.insert(args.begin(), {"lintra_lifecycle_probe", LINTRA_LIBRARY});
        std::vector<char *> argv;
        for (auto &a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::execv(LINTRA_LIFECYCLE_PROBE, argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = fds[0];
    }
    ~Probe() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0) ::close(out);
    }
    // The next line of output; empty when none comes within a minute.
    std::string line() {
        std::string text;
        char c;
        pollfd p{out, POLLIN, 0};
        while (::poll(&p, 1, 60000) == 1 && ::read(out, &c, 1) == 1 && c != '\n') text += c;
        return text;
    }
    // The exit status, or -1 when the probe did not end by itself.
    int exitStatus() {
        int status = 0;
        for (int i = 0; i < 600; ++i) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::usleep(100 * 1000);
        }
        return -1;
    }
};

struct LineLifecycleProcessTest : ::testing::TestWithParam<size_t> {
    testsupport::IsolatedHost host;
};

TEST_P(LineLifecycleProcessTest, CallbackClosesItsOwnLine) {
    Equipment equipment(Kinds()[GetParam()], host.dir().path());
    Probe probe({"close-in-callback", equipment.argument()});
    ASSERT_EQ(probe.line(), "polling");
    equipment.report();
    EXPECT_EQ(probe.line(), std::string("reopened ") + equipment.kind.name + " 1")
        << "the line is freed once its step has returned, and its number opens again";
    EXPECT_EQ(probe.exitStatus(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LineLifecycleProcessTest, ::testing::Range<size_t>(0, 5),
                         [](const auto &info) { return std::string(Kinds()[info.param].name); });

TEST(LineLifecycleExitTest, ProcessLeavesWithLinesOfEveryKindOpenAndBusy) {
    for (const char *scenario : {"exit", "unload", "exit-in-callback"}) {
        SCOPED_TRACE(scenario);
        testsupport::IsolatedHost host;
        std::vector<std::unique_ptr<Equipment>> equipment;
        std::vector<std::string> args = {scenario};
        for (const Kind &kind : Kinds()) {
            equipment.push_back(std::make_unique<Equipment>(kind, host.dir().path()));
            args.push_back(equipment.back()->argument());
        }
        // Exit on a line's thread leaves the other lines running to the end, where the leak
        // checker cannot stop them; what is checked there is that the process ends at all.
        const char *asan = std::getenv("ASAN_OPTIONS");
        testsupport::ScopedEnv noLeakCheck("ASAN_OPTIONS", std::string(asan ? asan : "") +
                                                               (scenario == std::string("exit-in-callback")
                                                                    ? ":detect_leaks=0"
                                                                    : ""));
        Probe probe(args);
        ASSERT_EQ(probe.line(), "polling");
        for (auto &e : equipment) e->report();
        EXPECT_EQ(probe.exitStatus(), 0);
    }
}

// Two threads closing one line: exactly one of them closes it, so the count of open lines
// stays right and a later CloseCom is not taken for a close with no line open.
TEST(LineCloseRaceTest, TwoThreadsCloseOneLineOnce) {
    testsupport::IsolatedHost host;
    Equipment panel(Kinds()[0], host.dir().path());
    test::LintraApi api(LINTRA_LIBRARY);
    ASSERT_TRUE(api.ok()) << ::dlerror();
    const char *port = panel.port.c_str();
    ASSERT_EQ(api.StartPanel(1, port, 0, 6), 1);  // stays open throughout
    for (int round = 0; round < 10; ++round) {
        ASSERT_EQ(api.StartPanel(2, port, 0, 7), 2) << "round " << round;
        std::atomic<int> arrived{0};
        auto close = [&] {
            ++arrived;
            while (arrived.load() < 2) {
            }
            api.CloseCom(2);
        };
        std::thread first(close), second(close);
        first.join();
        second.join();
    }
    ASSERT_EQ(api.StartPanel(3, port, 0, 8), 2);
    api.CloseCom(3);
    api.CloseCom(1);
    EXPECT_EQ(api.StartPanel(1, port, 0, 6), 1) << "every line was closed, the count is back at 0";
    api.CloseCom(1);
}

// A gateway host that does not resolve at start: both kinds of gateway line open, log it, and
// try the name again at every connect.
TEST(GatewayHostTest, BothGatewayKindsOpenOnAHostThatDoesNotResolve) {
    testsupport::IsolatedHost host;
    for (const char *line : {"Line1", "Line2"}) {
        auto key = tessel::RegKey::open(tessel::Hive::CurrentUser, "Software\\Tessel\\Lintra\\Logging", true);
        ASSERT_TRUE(key && key->writeDword(line, 2));
    }
    auto key = tessel::RegKey::open(tessel::Hive::CurrentUser, "Software\\Tessel\\Logging", true);
    ASSERT_TRUE(key && key->writeDword("MaxLevel", 2));
    const char *port = ":9:hello";  // an empty host name never resolves, and asks no name server
    {
        test::LintraApi api(LINTRA_LIBRARY);
        ASSERT_TRUE(api.ok()) << ::dlerror();
        EXPECT_EQ(api.StartNetRS(1, port, 0, 5), 1);
        EXPECT_EQ(api.StartNetCom(2, port, 0), 2);
        api.CloseCom(1);
        api.CloseCom(2);
    }
    for (const char *log : {"Line1lintra.log", "Line2lintra.log"}) {
        const auto records = testing::logRecords(host.dir().path() / log);
        EXPECT_NE(std::find(records.begin(), records.end(), "2 Не удаётся получить ip адрес для имени: :9:hello"),
                  records.end())
            << log;
    }
}

}  // namespace
}  // namespace lintra
