// Intelligent line-controller lines of the real liblintra.so against units-sim run as a separate
// process: over loopback TCP with the header and greeting (StartNetCom) and over a
// pseudo-terminal (StartIntCom). Records reach the test through the line's callback.
#include <gtest/gtest.h>

#include "lintra/ports/lines/tests/LintraApi.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {
using test::CallbackInbox;

constexpr int kWaitMs = 20000;  // upper bound for a record to come; never a timing assertion

struct Exports {
    void *handle = ::dlopen(LINTRA_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    template <typename F>
    F get(const char *name) const {
        return reinterpret_cast<F>(handle ? ::dlsym(handle, name) : nullptr);
    }
    decltype(&::StartIntCom) StartIntCom = get<decltype(&::StartIntCom)>("StartIntCom");
    decltype(&::StartNetCom) StartNetCom = get<decltype(&::StartNetCom)>("StartNetCom");
    decltype(&::LCBCommand) LCBCommand = get<decltype(&::LCBCommand)>("LCBCommand");
    decltype(&::SendContrCommand) SendContrCommand = get<decltype(&::SendContrCommand)>("SendContrCommand");
    decltype(&::CloseCom) CloseCom = get<decltype(&::CloseCom)>("CloseCom");
    decltype(&::LintraRegisterWindow) LintraRegisterWindow =
        get<decltype(&::LintraRegisterWindow)>("LintraRegisterWindow");
    ~Exports() {
        if (handle) ::dlclose(handle);
    }
    bool ok() const {
        return StartIntCom && StartNetCom && LCBCommand && SendContrCommand && CloseCom && LintraRegisterWindow;
    }
};

struct IntLcbProcessTest : ::testing::Test {
    testsupport::IsolatedHost host;
    std::string control = (host.dir().path() / "sim.ctl").string();
    std::string wireLog = (host.dir().path() / "wire.log").string();

    std::vector<std::string> simArgs(std::vector<std::string> line) const {
        line.insert(line.end(), {"--units", "1-3", "--control", control, "--log", wireLog});
        return line;
    }
    static intptr_t callback() { return reinterpret_cast<intptr_t>(&CallbackInbox::callback); }

    // Units 1..3 in the mask, polling on; then a stored event, a silent unit and a command.
    void exerciseLine(Exports &api, sim::test::SimChild &sim, int line) {
        const uint8_t count = 4;
        ASSERT_EQ(api.LCBCommand(line, 3, 1, &count), 0);
        for (uint8_t unit = 1; unit <= 3; ++unit) {
            const uint8_t params[2] = {unit, 0};
            ASSERT_EQ(api.LCBCommand(line, 1, 2, params), 0);
        }
        ASSERT_EQ(api.LCBCommand(line, 6, 0, nullptr), 0);
        CallbackInbox &inbox = CallbackInbox::instance();

        ASSERT_EQ(sim.command(control, "event 2 0x1F 9"), "ok 1");
        const auto event = inbox.next([](auto &r) { return r.address == 2 && r.code == 0x1F; }, kWaitMs);
        ASSERT_TRUE(event);
        EXPECT_EQ(event->line, line);

        ASSERT_EQ(sim.command(control, "absent 3 on"), "ok");
        EXPECT_TRUE(inbox.next([](auto &r) { return r.address == 3 && r.code == 0x62; }, kWaitMs));
        ASSERT_EQ(sim.command(control, "absent 3 off"), "ok");
        EXPECT_TRUE(inbox.next([](auto &r) { return r.address == 3 && r.code == 0x10; }, kWaitMs))
            << "connection with the unit restored";

        const uint8_t exitBan = 1;
        ASSERT_EQ(api.SendContrCommand(line, 1, 9, 1, &exitBan), 0);
        EXPECT_TRUE(inbox.next([](auto &r) { return r.address == 0xFB && r.code == 0x64; }, kWaitMs))
            << "the command's empty answer";
        api.CloseCom(line);
    }
};

TEST_F(IntLcbProcessTest, NetComLineAgainstUnitsSimOverLoopbackTcp) {
    sim::test::SimChild sim{UNITS_SIM_PATH, simArgs({"--tcp", "0", "--expect-greeting", "hi:there"})};
    ASSERT_EQ(sim.ready().rfind("ready tcp ", 0), 0u) << sim.ready();
    const std::string port = "127.0.0.1:" + sim.ready().substr(10) + ":hi:there";
    Exports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    CallbackInbox::instance().window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
    EXPECT_EQ(api.StartNetCom(4, "127.0.0.1-no-colons", callback()), -4);
    ASSERT_EQ(api.StartNetCom(4, port.c_str(), callback()), 1);
    EXPECT_EQ(api.StartNetCom(4, port.c_str(), callback()), -1);
    exerciseLine(api, sim, 4);
    EXPECT_EQ(sim.command(control, "greeting").rfind("ok ", 0), 0u);
    EXPECT_NE(sim.command(control, "greeting").find("hi:there"), std::string::npos);
}

TEST_F(IntLcbProcessTest, IntComLineAgainstUnitsSimOverAPseudoTerminal) {
    sim::test::SimChild sim{UNITS_SIM_PATH, simArgs({"--pty"})};
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    const std::string port = sim.ready().substr(10);
    Exports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    CallbackInbox::instance().window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
    ASSERT_EQ(api.StartIntCom(5, port.c_str(), callback()), 1);
    exerciseLine(api, sim, 5);
}

}  // namespace
}  // namespace lintra
