#include <gtest/gtest.h>

#include "sim/panel/StateFile.h"
#include "sim/tests/PanelFixture.h"

namespace sim::test {
namespace {

// A line whose panels hold something in every table, written through their commands.
PanelLine writtenLine() {
    PanelLine line;
    line.add(freshPanel(5));
    line.add(freshPanel(7, AnswerFormat::Long, 16));
    Panel &panel = line.find(5)->panel;
    for (const char *command : {"05 5C 01 00 12 41", "05 5E 0C", "05 52 03 25", "05 67 00 03 0A",
                                "05 67 01 03 14", "05 08 01 07 0A 0B 0C 0D", "05 08 00 01 12 34 FF FF",
                                "05 54 02 03 01 02 03 04 05 06 07 08", "05 66 01 00 12"})
        EXPECT_EQ(ask(panel, request(command)), request("05 00")) << command;
    panel.tables().zones[2].state = 0x90;
    panel.addEvent(2, 3, 9, kStartMs);
    line.find(7)->panel.messages().setNextNumber(65535);
    line.find(7)->panel.addEvent(25, 1, 2, kStartMs);
    return line;
}

TEST(StateFile, SavedPanelsLoadBackTheSame) {
    PanelLine original = writtenLine();
    std::string text = saveState(original, kStartMs);
    EXPECT_NE(text.find("zone 3 flags 25 state 90 block 00 timer 0 arm 10 trigger 20\n"), std::string::npos) << text;
    EXPECT_NE(text.find("card 7 0A0B0C0D\n"), std::string::npos);
    EXPECT_NE(text.find("message 65535 25 1 2 2026-03-05 09:04:00\n"), std::string::npos);

    PanelLine loaded;
    loaded.add(freshPanel(9));
    ASSERT_EQ(loadState(text, loaded, kStartMs), std::nullopt);
    ASSERT_EQ(loaded.panels().size(), 3u) << "panels not in the file stay";
    for (uint8_t address : {5, 7}) {
        SCOPED_TRACE(int(address));
        const Panel &a = original.find(address)->panel, &b = loaded.find(address)->panel;
        EXPECT_EQ(a.tables(), b.tables());
        EXPECT_EQ(a.format(), b.format());
        EXPECT_EQ(a.messages().capacity(), b.messages().capacity());
        EXPECT_EQ(a.messages().messages(), b.messages().messages());
        EXPECT_EQ(a.messages().nextNumber(), b.messages().nextNumber());
        EXPECT_EQ(a.clock().at(kStartMs), b.clock().at(kStartMs));
    }
    EXPECT_EQ(saveState(loaded, kStartMs), saveState(original, kStartMs) + savePanel(loaded.find(9)->panel, kStartMs));
}

TEST(StateFile, ARefusedFileChangesNothingAndNamesItsLine) {
    const struct {
        const char *text, *error;
    } rows[] = {
        {"lastzone 3\n", "line 1: entry before the first panel line"},
        {"panel 5 format 2\n", "line 1: bad panel line"},
        {"panel 5 format 0\n# note\nzone 0 flags 00 state 00 block 00 timer 0 arm 0 trigger 0\n", "line 3: bad zone"},
        {"panel 5 format 0\nzone 3 flags 1 state 00 block 00 timer 0 arm 0 trigger 0\n", "line 2: bad zone"},
        {"panel 5 format 0\nslot 51 0012 41\n", "line 2: bad slot"},
        {"panel 5 format 0\ncard 256 00000000\n", "line 2: bad key"},
        {"panel 5 format 0\nquarter 1 4 0000000000000000\n", "line 2: bad quarter"},
        {"panel 5 format 0\nclock 2026-02-30 10:00:00\n", "line 2: bad clock"},
        {"panel 5 format 0\nmessage 2050 1 0 0 2026-03-05 09:04:00\n",
         "line 2: messages do not fit the panel (format, ring size or numbers)"},
        {"panel 5 format 0\nmessage 3 16 0 0 2026-03-05 09:04:00\n",
         "line 2: messages do not fit the panel (format, ring size or numbers)"},
        {"panel 5 format 0\nmessage 3 1 0 0 2026-03-05 09:04:00\nmessage 3 2 0 0 2026-03-05 09:04:00\n",
         "line 3: messages do not fit the panel (format, ring size or numbers)"},
        {"panel 5 format 0\nnext 2050\n", "line 2: bad next number"},
        {"panel 5 format 0\nfirmware 2\n", "line 2: unknown entry 'firmware'"},
        {"panel 5 format 0\npanel 5 format 1\n", "line 2: panel 5 twice"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        PanelLine line;
        line.add(freshPanel(5));
        ask(line.find(5)->panel, request("05 5E 07"));
        EXPECT_EQ(loadState(row.text, line, kStartMs), std::optional<std::string>(row.error));
        EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, 7);
    }
}

}  // namespace
}  // namespace sim::test
