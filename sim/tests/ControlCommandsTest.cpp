#include <gtest/gtest.h>

#include "sim/panel/ControlCommands.h"
#include "sim/panel/StateFile.h"
#include "sim/tests/PanelFixture.h"
#include "testsupport/TempDir.h"

namespace sim::test {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

class ControlTest : public ::testing::Test {
protected:
    ControlTest() : control(line, ControlHooks{[this](bool on) { pace = on; }, [this] { quit = true; }}) {
        line.add(freshPanel(5));
        line.add(freshPanel(7, AnswerFormat::Long));
    }
    std::string run(const std::string &command) { return control.execute(command, kStartMs); }
    std::string poll(uint8_t address) {
        auto tx = line.receive(hexBytes(request(toHex(std::vector<uint8_t>{address, 0x56}))), kStartMs, 0);
        return tx ? toHex(tx->bytes) : "";
    }

    PanelLine line;
    bool pace = false, quit = false;
    ControlInterpreter control;
};

TEST_F(ControlTest, StoresMessagesOfEveryEventType) {
    EXPECT_EQ(run("event 5 2 3 9"), "ok 1\n");
    EXPECT_EQ(poll(5), "AB 05 57 05 89 32 03 09 00 01 5A");
    EXPECT_EQ(run("event 0x07 0x1F 1 2 3"), "ok 3\n");
    EXPECT_EQ(line.find(7)->panel.messages().newest().type, 31);
    EXPECT_EQ(run("event 5 16"), "error event type 16 does not fit answer format 0\n");
    EXPECT_EQ(run("next 5 2049"), "ok\n");
    EXPECT_EQ(run("event 5 1 0 0 2"), "ok 0\n");
    EXPECT_EQ(run("next 5 2050"), "error number out of range for the answer format\n");
}

TEST_F(ControlTest, SwitchesFaultsOnAndOff) {
    EXPECT_EQ(run("fault 5 silent"), "ok\n");
    EXPECT_EQ(poll(5), "");
    EXPECT_EQ(run("fault 5 silent off"), "ok\n");
    EXPECT_EQ(run("counts 5"), "ok heard 1 answered 0\n");
    EXPECT_NE(poll(5), "");
    EXPECT_EQ(run("fault 5 error 4 times 2"), "ok\n");
    EXPECT_EQ(poll(5), request("05 03 04"));
    EXPECT_EQ(poll(5), request("05 03 04"));
    EXPECT_NE(poll(5), request("05 03 04"));
    EXPECT_EQ(run("fault 5 stray"), "ok\n");
    EXPECT_EQ(run("fault 5 cut times 1"), "ok\n");
    EXPECT_EQ(poll(5), "55 AB 05 57 05 89 31 00 00 00 00");
    EXPECT_EQ(poll(5).substr(0, 5), "55 AB");
    EXPECT_EQ(run("fault 5 off"), "ok\n");
    EXPECT_EQ(poll(5).substr(0, 2), "AB");
    EXPECT_EQ(run("fault 5 drop-write 0x52 times 1"), "ok\n");
    EXPECT_EQ(line.find(5)->faults.get(FaultKind::DropWrite).arg, 0x52u);
}

TEST_F(ControlTest, RefusesWhatItCannotDo) {
    const struct {
        const char *command, *answer;
    } rows[] = {
        {"", "error empty command\n"},
        {"reboot", "error unknown command 'reboot' (help lists them)\n"},
        {"event 9 1", "error no panel 9\n"},
        {"event 5 256", "error bad event arguments\n"},
        {"event 5", "error usage: event ADDR TYPE [P1 [P2 [COUNT]]]\n"},
        {"fault 5 smoke", "error unknown fault 'smoke'\n"},
        {"fault 5 error", "error fault error needs a valid argument\n"},
        {"fault 5 mode 3", "error fault mode needs a valid argument\n"},
        {"fault 5 delay 10 times 0", "error times needs a count above 0\n"},
        {"fault 5 checksum 3", "error bad fault arguments\n"},
        {"fault 5 drop-write", "error fault drop-write needs a valid argument\n"},
        {"fault 5 drop-write 0x51", "error fault drop-write needs a valid argument\n"},
        {"zone 5 201 state 10", "error zone out of range 1..200\n"},
        {"zone 5 1 colour 10", "error bad zone field 'colour'\n"},
        {"pace maybe", "error unknown command 'pace' (help lists them)\n"},
        {"load /nonexistent/state", "error cannot read /nonexistent/state\n"},
    };
    for (const auto &row : rows) EXPECT_EQ(run(row.command), row.answer) << row.command;
}

TEST_F(ControlTest, SetsZonesAndTheHooks) {
    EXPECT_EQ(run("zone 5 3 state 10 block 40 timer 7"), "ok\n");
    const Zone &z = line.find(5)->panel.tables().zones[2];
    EXPECT_EQ(z.state, 0x10);
    EXPECT_EQ(z.blockType, 0x40);
    EXPECT_EQ(z.timer, 7);
    EXPECT_EQ(run("pace on"), "ok\n");
    EXPECT_TRUE(pace);
    EXPECT_EQ(run("quit"), "ok\n");
    EXPECT_TRUE(quit);
    EXPECT_EQ(run("panels"), "ok 5:0 7:1\n");
}

TEST_F(ControlTest, DumpsSavesAndLoadsTheState) {
    run("event 5 4 3 0");
    std::string dump = run("dump 5");
    EXPECT_EQ(dump, savePanel(line.find(5)->panel, kStartMs) + "ok\n");
    EXPECT_EQ(run("dump"), saveState(line, kStartMs) + "ok\n");

    testsupport::TempDir dir;
    std::string file = (dir / "panels.state").string();
    EXPECT_EQ(run("save " + file), "ok\n");
    EXPECT_EQ(dir.read("panels.state"), saveState(line, kStartMs));
    run("event 5 1");
    EXPECT_EQ(run("load " + file), "ok\n");
    EXPECT_EQ(run("dump 5"), dump);
    dir.write("bad.state", "panel 5 format 9\n");
    EXPECT_EQ(run("load " + (dir / "bad.state").string()),
              "error " + (dir / "bad.state").string() + ": line 1: bad panel line\n");
}

}  // namespace
}  // namespace sim::test
