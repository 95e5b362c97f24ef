#include "zaltor/console/RecordPanes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zaltor::console {
namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(PaneLog, ConsolePaneIsEmptiedOnceItHoldsTwentyThousandCharacters) {
    struct Case {
        std::string first;
        bool secondClears;
    };
    const std::vector<Case> cases = {
        {repeated("a", 20000), true},
        {repeated("a", 19999), false},
        {repeated("ж", 20000), true},  // characters, not bytes
        {repeated("ж", 19999), false},
        {repeated("ж", 9999) + "\r\n" + repeated("a", 9999), false},  // 9999 + break + 9999
        {repeated("ж", 9999) + "\r\n" + repeated("a", 10000), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first.size());
        PaneLog pane(kConsolePaneLimit);
        EXPECT_FALSE(pane.append(c.first));
        EXPECT_EQ(pane.append("next"), c.secondClears);
        if (c.secondClears) {
            EXPECT_EQ(pane.lines(), std::vector<std::string>{"next"});
        }
    }
}

TEST(PaneLog, SetupPaneIsEmptiedBeforeThe3002ndLine) {
    PaneLog pane(kSetupPaneLimit);
    for (int i = 0; i < 3001; ++i) ASSERT_FALSE(pane.append("line"));
    EXPECT_EQ(pane.lines().size(), 3001u);
    EXPECT_TRUE(pane.append("last"));
    EXPECT_EQ(pane.lines(), std::vector<std::string>{"last"});
}

TEST(PaneLog, MultiLineEntryCountsAsItsLines) {
    PaneLog pane(kSetupPaneLimit);
    for (int i = 0; i < 1500; ++i) pane.append("event\r\n second line");
    EXPECT_EQ(pane.lines().size(), 3000u);
    EXPECT_FALSE(pane.append("a\r\nb"));
    EXPECT_TRUE(pane.append("c"));
}

EventRecord panelRecord(uint16_t code, std::initializer_list<uint8_t> data) {
    EventRecord record{};
    record.line = 1;
    record.address = 5;
    record.code = code;
    record.month = 3;
    record.day = 5;
    record.data_length = static_cast<uint16_t>(data.size());
    std::copy(data.begin(), data.end(), record.data);
    return record;
}

TEST(RecordPanes, EachPaneThatIsNotPausedGetsItsLine) {
    const EventRecord described = panelRecord(90, {7});
    const EventRecord undescribed = panelRecord(100, {});
    struct Case {
        bool rawPaused, describedPaused;
        const EventRecord &record;
        std::optional<PaneAppend> raw, desc;
    };
    const PaneAppend rawLine{false, "05 5A 05.03-00:00 07 - 01"};
    const PaneAppend descLine{false, "05 5A 05.03-00:00  (01) Получить номер последней опрашиваемой зоны 7"};
    const std::vector<Case> cases = {
        {false, false, described, rawLine, descLine},
        {true, false, described, std::nullopt, descLine},
        {false, true, described, rawLine, std::nullopt},
        {true, true, described, std::nullopt, std::nullopt},
        {false, false, undescribed, PaneAppend{false, "05 64 05.03-00:00 - 01"}, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rawPaused << c.describedPaused << c.record.code);
        RecordPanes panes(kConsolePaneLimit);
        panes.setRawPaused(c.rawPaused);
        panes.setDescribedPaused(c.describedPaused);
        const RecordUpdate update = panes.onRecord(c.record);
        EXPECT_EQ(update.raw, c.raw);
        EXPECT_EQ(update.described, c.desc);
        EXPECT_EQ(panes.raw().lines().size(), c.raw ? 1u : 0u);
        // The described line spans two pane lines only when it has a CR LF; this one has none.
        EXPECT_EQ(panes.described().lines().size(), c.desc ? 1u : 0u);
    }
}

TEST(RecordPanes, NotesReachThePausedDescribedPane) {
    RecordPanes panes(kConsolePaneLimit);
    panes.setDescribedPaused(true);
    EXPECT_EQ(panes.note("=> установить связь"), (PaneAppend{false, "=> установить связь"}));
    EXPECT_EQ(panes.described().lines(), std::vector<std::string>{"=> установить связь"});
}

}  // namespace
}  // namespace zaltor::console
