// NX drivers of the real liblintra.so against ncx-sim run as a separate process: over loopback
// TCP and over a pseudo-terminal, created through the Driver API or by lintra.ini at load. The
// driver's log and the simulator's status show what happened on the link.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "lintra/nx/tests/DriverExports.h"
#include "platform/Registry.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace {

constexpr int kStart = 2, kDestroy = 9, kPing = 10, kSetQryDelay = 33;

using lintra::nx::test::DriverExports;

// A bound for a step of the link to happen; never a timing assertion.
template <typename Condition>
bool Within(int seconds, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class NXDriverProcessTest : public ::testing::Test {
protected:
    NXDriverProcessTest() {
        // Logging is off until a maximum level is set.
        auto key = tessel::RegKey::open(tessel::Hive::CurrentUser, "Software\\Tessel\\Logging", true);
        EXPECT_TRUE(key && key->writeDword("MaxLevel", 9));
    }

    std::string Log(int handle = 1) const {
        std::ifstream file(host_.dir().path() / ("CommDrv" + std::to_string(handle) + ".log"));
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    int Count(const std::string &what) const {
        const std::string log = Log();
        int count = 0;
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++count;
        return count;
    }
    bool LinksUp(int count) const {
        return Within(30, [&] { return Count("TNXEthDriver.Connect:: HandShake OK") >= count; });
    }
    std::string Status(sim::test::SimChild &sim) { return sim.command(control_, "status"); }
    // A pace request only leaves a connected driver, so the controller seeing it shows the link up.
    bool PaceArrives(DriverExports &api, sim::test::SimChild &sim, int pace) {
        return Within(30, [&] {
            api.doCmd(1, kSetQryDelay, pace, 0);
            return Status(sim).find("pace=" + std::to_string(pace) + " ") != std::string::npos;
        });
    }
    std::vector<std::string> SimArgs(std::vector<std::string> args) const {
        args.insert(args.end(), {"--control", control_, "--log", (host_.dir().path() / "wire.log").string()});
        return args;
    }

    testsupport::IsolatedHost host_;
    std::string control_ = (host_.dir().path() / "ncx.ctl").string();
};

uint16_t PortOf(const std::string &ready) { return static_cast<uint16_t>(std::stoi(ready.substr(10))); }

TEST_F(NXDriverProcessTest, TcpDriverBringsTheLinkUpAndBackAfterEveryFault) {
    sim::test::SimChild sim{NCX_SIM_PATH, SimArgs({"--tcp", "0", "--password", "Pw-1234"})};
    ASSERT_EQ(sim.ready().rfind("ready tcp ", 0), 0u) << sim.ready();
    DriverExports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    const std::string params = "Host=localhost\r\nPort=" + std::to_string(PortOf(sim.ready())) +
                               "\r\nPassword=Pw-1234\r\nLogLevel=9\r\nSilentWarn=300\r\nRplSysTimeout=300";
    ASSERT_EQ(api.create(1, params.c_str()), 1);
    ASSERT_EQ(api.doCmd(1, kStart, 0, 0), 1);
    ASSERT_TRUE(LinksUp(1)) << Log();
    EXPECT_NE(Status(sim).find("authorised=yes"), std::string::npos);
    EXPECT_NE(Log().find("Версия прошивки = NCX-SIM 1.0"), std::string::npos);
    EXPECT_TRUE(PaceArrives(api, sim, 12));

    ASSERT_EQ(sim.command(control_, "drop"), "ok");
    EXPECT_TRUE(LinksUp(2)) << "a new connection after the controller closed the old one";
    ASSERT_EQ(sim.command(control_, "malformed"), "ok");
    EXPECT_TRUE(LinksUp(3)) << "a packet that does not parse drops the link";
    ASSERT_EQ(sim.command(control_, "silent on"), "ok");
    EXPECT_TRUE(Within(30, [&] { return Count("Таймаут для системной команды") >= 1; })) << "keep-alive unanswered";
    ASSERT_EQ(sim.command(control_, "silent off"), "ok");
    EXPECT_TRUE(LinksUp(4));
    ASSERT_EQ(sim.command(control_, "endless 5000"), "ok");  // then silent
    ASSERT_EQ(sim.command(control_, "silent off"), "ok");
    EXPECT_TRUE(PaceArrives(api, sim, 13)) << "an endless line is dropped and the link goes on";

    EXPECT_EQ(api.doCmd(1, kDestroy, 0, 0), 1);
    EXPECT_EQ(api.doCmd(1, kPing, 0, 0), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("TNXDriver.DrvExecute:: END"), std::string::npos);
    EXPECT_NE(log.find("TNXDriver.Destroy:: Finished"), std::string::npos);
    EXPECT_EQ(log.find("Pw-1234"), std::string::npos) << "the password never reaches the log";
}

TEST_F(NXDriverProcessTest, SerialDriverOnAPseudoTerminal) {
    sim::test::SimChild sim{NCX_SIM_PATH, SimArgs({"--pty"})};
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    DriverExports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    const std::string params = "Port=" + sim.ready().substr(10) + "\r\nBaud=19200\r\nLogLevel=9";
    ASSERT_EQ(api.create(2, params.c_str()), 1);
    ASSERT_EQ(api.doCmd(1, kStart, 0, 0), 1);
    EXPECT_TRUE(PaceArrives(api, sim, 7));
    EXPECT_NE(Log().find("TNXSioDriver.Connect:: Порт "), std::string::npos);
    EXPECT_EQ(api.doCmd(1, kDestroy, 0, 0), 1);
    EXPECT_NE(Log().find("TNXSioDriver.Destroy"), std::string::npos);
}

// The library's load reads lintra.ini from the current directory; this process loads it fresh.
TEST_F(NXDriverProcessTest, LintraIniDriverIsUpWithoutAnyCall) {
    sim::test::SimChild sim{NCX_SIM_PATH, SimArgs({"--tcp", "0"})};
    ASSERT_EQ(sim.ready().rfind("ready tcp ", 0), 0u) << sim.ready();
    host_.dir().write("lintra.ini", "[Device Main]\nType=1\nHost=127.0.0.1\nPort=" +
                                        std::to_string(PortOf(sim.ready())) + "\nLogLevel=9\n");
    DriverExports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    EXPECT_TRUE(LinksUp(1)) << Log();
    EXPECT_EQ(api.doCmd(1, kPing, 0, 0), 1);
}

// A silent controller holds each driver inside its start-up exchange; destroying it there, by
// command, by DriversDestroy or by the library's unload at exit, ends its thread first.
TEST_F(NXDriverProcessTest, DriversGoCleanlyFromInsideTheStartUpExchange) {
    sim::test::SimChild sim{NCX_SIM_PATH, SimArgs({"--tcp", "0"})};
    ASSERT_EQ(sim.ready().rfind("ready tcp ", 0), 0u) << sim.ready();
    ASSERT_EQ(sim.command(control_, "silent on"), "ok");
    DriverExports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    const std::string params = "Host=127.0.0.1\r\nPort=" + std::to_string(PortOf(sim.ready()));
    for (int driver = 1; driver <= 3; ++driver) {
        ASSERT_EQ(api.create(1, params.c_str()), driver);
        ASSERT_EQ(api.doCmd(driver, kStart, 0, 0), 1);
        ASSERT_TRUE(Within(30, [&] {
            return Status(sim).find("connections=" + std::to_string(driver) + " ") != std::string::npos;
        }));
    }
    EXPECT_EQ(api.doCmd(1, kDestroy, 0, 0), 1);
    EXPECT_EQ(api.doCmd(1, kPing, 0, 0), 0);
    EXPECT_EQ(api.doCmd(2, kPing, 0, 0), 1);
    EXPECT_EQ(api.destroyAll(), 0);
    EXPECT_EQ(api.doCmd(2, kPing, 0, 0), 0);
    ASSERT_EQ(api.create(1, params.c_str()), 1);
    ASSERT_EQ(api.doCmd(1, kStart, 0, 0), 1);  // left to the unload
}

TEST_F(NXDriverProcessTest, ReadmeExampleBringsTheLinkUp) {
    sim::test::SimChild sim{NCX_SIM_PATH, SimArgs({"--tcp", "0", "--password", "ex"})};
    ASSERT_EQ(sim.ready().rfind("ready tcp ", 0), 0u) << sim.ready();
    const std::string command = std::string(LINTRA_NX_CONTROLLER_EXAMPLE) + " localhost " +
                                std::to_string(PortOf(sim.ready())) + " ex > example.out";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream out("example.out");
    std::string line;
    std::getline(out, line);
    EXPECT_EQ(line, "controller link up");
    EXPECT_NE(Status(sim).find("pace=10 "), std::string::npos);
}

}  // namespace
