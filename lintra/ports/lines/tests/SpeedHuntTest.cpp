// The speed hunting of a panel line: while its panel is silent and has never answered, the line
// that owns the port steps the port through the speed modes, or re-applies the mode the line's
// Speeds setting fixes. A line borrowing the port and a line that has answered once never hunt.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lintra/ports/SpeedMode.h"
#include "lintra/ports/lines/tests/PultFixture.h"
#include "lintra/runtime/CommonProc.h"
#include "lintra/runtime/LibrarySettings.h"
#include "platform/Registry.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

constexpr int kOwnerLine = 3;  // PultFixture's line
constexpr int kSteps = 30;

// The Speeds values in a store of its own, loaded as the library loads them, for the object's
// lifetime. An unset value is absent from the store.
class SpeedSettings {
public:
    SpeedSettings(std::optional<uint32_t> useAutoSpeed, std::optional<uint32_t> lineMode) {
        auto key = tessel::RegKey::open(tessel::Hive::CurrentUser, kSpeedsKey, true);
        EXPECT_TRUE(key);
        if (key && useAutoSpeed) key->writeDword("UseAutoSpeed", *useAutoSpeed);
        if (key && lineMode) key->writeDword("Line" + std::to_string(kOwnerLine), *lineMode);
        CommonProcLoad();
    }
    ~SpeedSettings() { CommonProcUnload(); }

private:
    testsupport::IsolatedHost host_;
};

// The speed mode the port settings stand for, -1 for none.
int modeOf(const LineSettings &s) {
    for (uint8_t mode = 0; mode < kSpeedModeCount; ++mode) {
        const LineSettings &m = SpeedModeOf(mode).line;
        if (s.baud == m.baud && s.dataBits == m.dataBits && s.parity == m.parity && s.stopBits == m.stopBits)
            return mode;
    }
    return -1;
}

// (step or exchange number, speed mode the port was set to)
using ModeChanges = std::vector<std::pair<int, int>>;

void collectModes(const test::FakePort &port, int when, ModeChanges &out) {
    for (const LineSettings &s : port.linesSet()) out.emplace_back(when, modeOf(s));
}

TEST(SpeedHuntTest, PollingStepsOfASilentPanel) {
    enum class Poller { Owner, Borrower, AnsweredOnce };
    // The line starts in the stored mode 1 and goes silent on its 10th unanswered poll; the
    // hunt counts down from 3 on the silent steps after it, then from 5. UseAutoSpeed only makes
    // 0 (hunt) the default of the lines' Speeds values, which is 1 without it. A second line
    // borrows the port in every row; only the poller steps.
    const struct {
        const char *name;
        std::optional<uint32_t> useAutoSpeed, lineMode;
        Poller poller;
        ModeChanges changes;
    } cases[] = {
        {"auto speed steps through the modes", 1, {}, Poller::Owner, {{13, 2}, {18, 0}, {23, 1}, {28, 2}}},
        {"by default every line is fixed to mode 1", {}, {}, Poller::Owner, {{13, 1}, {18, 1}, {23, 1}, {28, 1}}},
        {"a fixed line mode wins over auto speed", 1, 2, Poller::Owner, {{13, 2}, {18, 2}, {23, 2}, {28, 2}}},
        // It takes the owner's mode on its first step and never sets one of its own.
        {"a line borrowing the port", 1, {}, Poller::Borrower, {{1, 1}}},
        {"a line that answered once", 1, {}, Poller::AnsweredOnce, {}},
    };
    for (const auto &c : cases) {
        SpeedSettings settings(c.useAutoSpeed, c.lineMode);
        test::PultFixture f(kOwnerLine);
        TPultControl borrower(kOwnerLine + 1, test::kAddress + 1, f.clock);
        ASSERT_TRUE(borrower.JoinPort(f.panelPort, false));
        TPultControl &poller = c.poller == Poller::Borrower ? borrower : *f.line;
        poller.SendComMsg(PanelFrame::connectionRestored(4), 0);
        if (c.poller == Poller::AnsweredOnce) f.answer(test::messageAnswer(0));

        ModeChanges changes;
        for (int step = 1; step <= kSteps; ++step) {
            f.port->clearTrace();
            poller.ServePult();
            collectModes(*f.port, step, changes);
        }
        EXPECT_TRUE(poller.silent()) << c.name;
        EXPECT_EQ(changes, c.changes) << c.name;
        EXPECT_EQ(LineState::StoredSpeedMode(kOwnerLine), f.panelPort->mode()) << c.name;
    }
}

TEST(SpeedHuntTest, FailedDirectExchanges) {
    const struct {
        const char *name;
        bool answeredFirst;
        ModeChanges changes;
    } cases[] = {
        {"each one of a line never answered takes the next mode", false, {{1, 2}, {2, 0}}},
        {"a line that answered once keeps its mode", true, {}},
    };
    for (const auto &c : cases) {
        SpeedSettings settings(1, {});
        test::PultFixture f(kOwnerLine);
        EventRecord reply{};
        const PanelFrame command = PanelFrame::command(test::kAddress, 93, {});
        if (c.answeredFirst) {
            f.answer(test::signedBytes({0xA5, test::kAddress, 90, 17, 0}));
            f.line->SendCmdGetRepl(command, reply);
        }
        ModeChanges changes;
        for (int exchange = 1; exchange <= 2; ++exchange) {
            f.port->clearTrace();
            f.line->SendCmdGetRepl(command, reply);
            EXPECT_EQ(reply.code, PanelFrame::kCodeConnectionLost) << c.name;
            collectModes(*f.port, exchange, changes);
        }
        EXPECT_EQ(changes, c.changes) << c.name;
    }
}

}  // namespace
}  // namespace lintra
