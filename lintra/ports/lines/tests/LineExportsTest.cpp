// The start and stop exports of panel lines over pseudo-terminals that nobody answers, with
// the library's load steps run by the test inside an isolated host.
#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <fstream>
#include <vector>

#include "lintra/host/ExportGuard.h"
#include "lintra/host/SerialPort.h"
#include "lintra/include/lintra.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/StartLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/panel/PultControl.h"
#include "platform/Registry.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

struct Pty {
    int master = -1, slave = -1;
    std::string path;
    Pty() {
        char name[128];
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
        ::close(slave);  // the library opens the slave itself
    }
    ~Pty() { ::close(master); }
};

struct LineExportsTest : ::testing::Test {
    testsupport::IsolatedHost host;
    Pty pty;
    LineExportsTest() { ComUnitLoad(); }
    ~LineExportsTest() override {
        for (int line = 0; line < kLineCount; ++line) CloseCom(line);
        ComUnitUnload();
    }
    // The open panel line; a missing one fails the test.
    std::shared_ptr<TPultControl> panel(int line) {
        auto open = LineTable::GetAs<TPultControl>(line);
        if (!open) throw std::runtime_error("line " + std::to_string(line) + " is not open");
        return open;
    }
};

TEST_F(LineExportsTest, StartResultsAndPortSharing) {
    const char *port = pty.path.c_str();
    EXPECT_EQ(StartPanelNew(1, port, 5), 1);
    EXPECT_EQ(StartPanelNew(2, port, 6), 2);  // a second panel on the same port
    EXPECT_EQ(panel(1)->panelPort(), panel(2)->panelPort());
    EXPECT_TRUE(panel(1)->portOwner());
    EXPECT_FALSE(panel(2)->portOwner());

    const struct {
        int32_t line;
        uint16_t addr;
        intptr_t wnd;
        int32_t result;
    } refused[] = {
        {1, 7, 0, -1},      // line in use
        {3, 5, 0, -4},      // same address on the port
        {256, 7, 0, -4},    // line out of range
        {-1, 7, 0, -4},
        {3, 256, 0, -4},    // address out of range
        {3, 7, 12345, -2},  // neither a window nor a callback
    };
    for (const auto &c : refused)
        EXPECT_EQ(StartPanel(c.line, port, c.wnd, c.addr), c.result) << c.line << "/" << c.addr;
    EXPECT_EQ(panel(1)->address(), 5);  // the line in use is left as it was

    CloseCom(1);
    EXPECT_EQ(panel(2)->panelPort()->lineCount(), 1);
    EXPECT_EQ(StartPanelNew(3, port, 7), 2);
}

TEST_F(LineExportsTest, PortClosesWithItsLastLine) {
    // com3 and COM3 name the same port.
    auto ports = tessel::RegKey::open(tessel::Hive::LocalMachine, "SOFTWARE\\Tessel\\Ports", true);
    ASSERT_TRUE(ports && ports->writeString("COM3", pty.path));
    ASSERT_EQ(StartPanelNew(1, "com3", 5), 1);
    ASSERT_EQ(StartPanelNew(2, "COM3", 6), 2);
    int error = 0;
    EXPECT_FALSE(host::SerialPort::open(pty.path, &error));
    CloseCom(1);
    EXPECT_FALSE(host::SerialPort::open(pty.path, &error));
    CloseCom(2);
    EXPECT_TRUE(host::SerialPort::open(pty.path, &error)) << error;
    EXPECT_EQ(SharedObjects::OpenLineCount(), 0);
}

TEST_F(LineExportsTest, UnopenedLinesAndPortsAreReported) {
    EXPECT_EQ(LengthOfOutQueue(4), -1);
    EXPECT_EQ(LengthOfOutQueue(1000), -1);
    EXPECT_EQ(ResetPultBuffer(4), 1);
    EXPECT_EQ(StartPanelNew(4, "/dev/nonexistent-port", 5), -4);
    EXPECT_FALSE(LineTable::Get(4));
    CloseCom(4);  // nothing open: nothing happens
    ShutdownCom(-5);

    ASSERT_EQ(StartPanelNew(4, pty.path.c_str(), 5), 1);
    EXPECT_EQ(LengthOfOutQueue(4), 0);
    EXPECT_EQ(ResetPultBuffer(4), 0);
}

TEST_F(LineExportsTest, ShutdownStopsPollingAndClosesTheLine) {
    ASSERT_EQ(StartPanelNew(1, pty.path.c_str(), 5), 1);
    panel(1)->SendComMsg(PanelFrame::connectionRestored(4), 0);
    ShutdownAll();
    EXPECT_TRUE(panel(1)->closed());
    EXPECT_FALSE(panel(1)->reqenbld());
}

TEST_F(LineExportsTest, CloseSavesMessageNumbersForTheNextFirstLine) {
    ASSERT_EQ(StartPanelNew(9, pty.path.c_str(), 5), 1);
    panel(9)->setCurrentMsgNumber(0x1234);
    CloseCom(9);

    std::ifstream file(kReqstFileName, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    ASSERT_EQ(bytes.size(), kReqstFileSize);
    EXPECT_EQ(bytes[kReqstMsgNumberOffset + 18], 0x34);
    EXPECT_EQ(bytes[kReqstMsgNumberOffset + 19], 0x12);
    EXPECT_EQ(bytes[8704], 250);     // unit limits
    EXPECT_EQ(bytes[9728], 1);       // speed modes

    LineState::SetMsgNumber(9, 0);  // as in a new process
    ASSERT_EQ(StartPanelNew(9, pty.path.c_str(), 5), 1);
    EXPECT_EQ(panel(9)->currentMsgNumber(), 0x1234);

    // A missing file leaves the numbers at zero.
    CloseCom(9);
    std::filesystem::remove(kReqstFileName);
    ASSERT_EQ(StartPanelNew(9, pty.path.c_str(), 5), 1);
    EXPECT_EQ(panel(9)->currentMsgNumber(), 0);
}

// A line whose opening fails by an exception, as a thread that cannot start does.
struct ThrowingLine final : TPortControl {
    explicit ThrowingLine(int line) : TPortControl(line) {}
    bool InitCom(const std::string &, int) override { throw std::system_error(EAGAIN, std::generic_category()); }
    bool ReInitCom() override { return false; }
    int SendComMsg(const PanelFrame &, int) override { return 0; }
    int32_t answerCounter() const override { return 0; }
};

TEST_F(LineExportsTest, AStartThatThrowsAnswersItsErrorAndLeavesTheNumberFree) {
    const int result = host::Guarded("StartTest", kStartCannotOpen, [] {
        return StartLineObject(7, "nowhere", 0, [] { return std::make_shared<ThrowingLine>(7); });
    });
    EXPECT_EQ(result, kStartCannotOpen);
    EXPECT_EQ(LineTable::Get(7), nullptr);
    EXPECT_EQ(SharedObjects::OpenLineCount(), 0);
    EXPECT_EQ(StartPanelNew(7, pty.path.c_str(), 5), 1);
}

}  // namespace
}  // namespace lintra
