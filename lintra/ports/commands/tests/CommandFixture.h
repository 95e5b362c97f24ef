#pragma once
// What the command tests share: an isolated library load with every log at level 10, lines put
// into the line table and taken out again, and a line-controller line that records the frames
// it is given.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "lintra/ports/commands/ControllerLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/tests/FrameFixtures.h"
#include "lintra/ports/tests/LogRecords.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Registry.h"
#include "testsupport/TempDir.h"

namespace lintra::test {

// Signs and queues what it is given, as a serial line-controller line does, and keeps the
// frames in order as hex.
class FakeControllerLine final : public TPortControl, public TControllerLine {
public:
    explicit FakeControllerLine(int line, ControllerLink link = ControllerLink::Serial)
        : TPortControl(line), link_(link) {}

    bool InitCom(const std::string &, int) override { return true; }
    bool ReInitCom() override { return true; }
    int SendComMsg(const PanelFrame &frame, int) override {
        if (throwOnSend) throw std::runtime_error("send failed");
        PanelFrame signed_ = frame;
        FrameChecksum(signed_);
        sent.push_back(wireHex(signed_));
        outQueue().Put(signed_);
        return static_cast<int>(outQueue().Free());
    }
    int32_t answerCounter() const override { return 0; }
    ControllerLink controllerLink() const override { return link_; }
    // The serial kind stands for a TLCBControl, the TCP kind for the intelligent lines.
    bool IsLcbControl() const override { return link_ == ControllerLink::Serial; }

    std::vector<std::string> sent;
    bool throwOnSend = false;

private:
    ControllerLink link_;
};

struct CommandTest : ::testing::Test {
    testsupport::IsolatedHost host;
    std::vector<int> lines;

    void SetUp() override {
        setValue("Software\\Tessel\\Logging", "MaxLevel", 10);
        setValue("Software\\Tessel\\Lintra\\Logging", "Line0", 10);
        beforeLoad();
        CommonProcLoad();
        LineState::Reset();
    }
    void TearDown() override {
        for (int line : lines) LineTable::Take(line);
        CommonProcUnload();
    }
    // Files and settings the load reads ("discmd.ini").
    virtual void beforeLoad() {}

    static void setValue(std::string_view key, std::string_view name, uint32_t value) {
        auto k = tessel::RegKey::open(tessel::Hive::CurrentUser, key, true);
        ASSERT_TRUE(k && k->writeDword(name, value));
    }

    template <typename Line>
    Line &open(std::shared_ptr<Line> object) {
        EXPECT_TRUE(LineTable::Put(object->line(), object));
        lines.push_back(object->line());
        return *object;
    }

    // "level text" of each record of a log file; the logs are closed first.
    std::vector<std::string> records(const std::string &file) {
        CommonProcUnload();
        return lintra::testing::logRecords(host.dir() / file);
    }
    std::vector<std::string> lineLog(int line) { return records("Line" + std::to_string(line) + "lintra.log"); }
};

}  // namespace lintra::test
