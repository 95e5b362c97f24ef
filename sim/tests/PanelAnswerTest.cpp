#include <gtest/gtest.h>

#include "sim/tests/PanelFixture.h"

namespace sim::test {
namespace {

// Each row on a fresh panel 5 (format 0, clock 2026-03-05 09:04). Frames are literal, with
// checksums worked out by hand, so the panel's codec is checked too.
TEST(PanelAnswer, AnswersEachCommandOfTheLoaderAndTheConsole) {
    struct Row {
        const char *name, *request, *answer;
    };
    const Row rows[] = {
        {"write poll slot", "A8 05 5C 01 00 12 41 ED", "A4 05 00 9C"},
        {"read poll slot", "A5 05 5B 01 F8", "A8 05 59 01 FF FF 42 94"},
        {"write zone count", "A5 05 5E 0C 09", "A4 05 00 9C"},
        {"read zone count", "A4 05 5D F9", "A5 05 5A 00 F5"},
        {"write zone", "A6 05 52 03 25 06", "A4 05 00 9C"},
        {"read zone", "A5 05 51 03 E6", "A9 05 55 03 00 00 00 00 D0"},
        {"write delay", "A7 05 67 00 03 0A 88", "A4 05 00 9C"},
        {"read delay", "A6 05 68 01 03 35", "A7 05 5F 01 03 00 42"},
        {"write key", "AA 05 08 01 07 0A 0B 0C 0D 59", "A4 05 00 9C"},
        {"read key", "A6 05 0C 00 07 C9", "AA 05 05 00 FF FF FF FF 07 57"},
        {"write quarter", "AE 05 54 02 03 01 02 03 04 05 06 07 08 5F", "A4 05 00 9C"},
        {"read quarter", "A6 05 55 02 03 EE", "AE 05 56 02 03 00 00 00 00 00 00 00 00 6F"},
        {"write M39 entry", "A7 05 66 01 00 12 86", "A4 05 00 9C"},
        {"set clock", "A9 05 03 03 05 09 04 26 20", "A4 05 00 9C"},
        {"arm zone", "A6 05 50 01 03 D8", "A4 05 00 9C"},
        {"stop alarm", "A5 05 69 00 12", "A4 05 00 9C"},
        {"V poll: the start-up event", "A4 05 56 F2", "AB 05 57 05 89 31 00 00 00 00 0D"},
        {"W poll for a stored number", "A6 05 57 00 00 EF", "AB 05 57 05 89 31 00 00 00 00 0D"},
        {"W poll for a number not stored", "A6 05 57 00 01 F0", "A5 05 03 02 49"},
        {"wrong checksum", "A4 05 56 F3", "A5 05 03 01 48"},
        {"unknown command", "A4 05 01 9D", "A5 05 03 03 4A"},
        {"too many parameters", "A6 05 5B 01 02 02", "A5 05 03 02 49"},
        {"zone 0", "A5 05 51 00 E3", "A5 05 03 02 49"},
        {"zone 201", "A5 05 51 C9 AC", "A5 05 03 02 49"},
        {"slot 51", "A5 05 5B 33 2A", "A5 05 03 02 49"},
        {"key kind 2", "A6 05 0C 02 07 CD", "A5 05 03 02 49"},
        {"quarter 4", "A6 05 55 02 04 EF", "A5 05 03 02 49"},
        {"delay kind 2", "A6 05 68 02 03 37", "A5 05 03 02 49"},
        {"zone count 201", "A5 05 5E C9 C6", "A5 05 03 02 49"},
        {"month 13", "A9 05 03 13 05 09 04 26 21", "A5 05 03 02 49"},
        {"digit not BCD", "A9 05 03 0A 05 09 04 26 91", "A5 05 03 02 49"},
        {"30 February", "A9 05 03 02 30 09 04 26 62", "A5 05 03 02 49"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Panel panel = freshPanel();
        EXPECT_EQ(ask(panel, row.request), row.answer);
    }
}

TEST(PanelAnswer, ARefusedRequestChangesNothing) {
    Panel panel = freshPanel();
    const PanelTables before = panel.tables();
    ask(panel, "A8 05 5C 01 00 12 41 EE");  // write slot with a wrong checksum
    ask(panel, request("05 52 00 25"));     // zone 0
    ask(panel, request("05 50 01 C9"));     // arm zone 201
    EXPECT_EQ(panel.tables(), before);
    EXPECT_EQ(panel.messages().messages().size(), 1u);
}

// Every write command followed by its read command gives back what was written, at the edges
// of each table's range.
TEST(PanelAnswer, ReadGivesBackWhatWasWritten) {
    struct Row {
        const char *name, *write, *read, *answer;  // address, code, parameters
    };
    const Row rows[] = {
        {"first poll slot", "05 5C 01 01 2C 41", "05 5B 01", "05 59 01 01 2C 41"},
        {"last poll slot", "05 5C 32 00 07 46", "05 5B 32", "05 59 32 00 07 46"},
        {"zone count", "05 5E C8", "05 5D", "05 5A C8"},
        {"first zone flags", "05 52 01 27", "05 51 01", "05 55 01 27 00 00 00"},
        {"last zone flags", "05 52 C8 21", "05 51 C8", "05 55 C8 21 00 00 00"},
        {"arming delay", "05 67 00 C8 3C", "05 68 00 C8", "05 5F 00 C8 3C"},
        {"triggering delay", "05 67 01 01 FF", "05 68 01 01", "05 5F 01 01 FF"},
        {"card of user 255", "05 08 01 FF DE AD BE EF", "05 0C 01 FF", "05 05 01 DE AD BE EF FF"},
        {"password of user 0", "05 08 00 00 12 34 FF FF", "05 0C 00 00", "05 05 00 12 34 FF FF 00"},
        {"first section quarter", "05 54 00 00 01 02 04 08 10 20 40 80", "05 55 00 00",
         "05 56 00 00 01 02 04 08 10 20 40 80"},
        {"last section quarter", "05 54 FF 03 FF 00 FF 00 FF 00 FF 00", "05 55 FF 03",
         "05 56 FF 03 FF 00 FF 00 FF 00 FF 00"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Panel panel = freshPanel();
        EXPECT_EQ(ask(panel, request(row.write)), request("05 00"));
        EXPECT_EQ(ask(panel, request(row.read)), request(row.answer));
    }
}

TEST(PanelAnswer, DelaysOfBothKindsAndFlagsOfAZoneAreKeptApart) {
    Panel panel = freshPanel();
    ask(panel, request("05 52 07 25"));
    ask(panel, request("05 67 00 07 0A"));
    ask(panel, request("05 67 01 07 14"));
    EXPECT_EQ(ask(panel, request("05 68 00 07")), request("05 5F 00 07 0A"));
    EXPECT_EQ(ask(panel, request("05 68 01 07")), request("05 5F 01 07 14"));
    EXPECT_EQ(ask(panel, request("05 51 07")), request("05 55 07 25 00 00 00"));
    EXPECT_EQ(panel.tables().zones[6].armDelay, 10);
}

TEST(PanelAnswer, AM39EntryIsStored) {
    Panel panel = freshPanel();
    ask(panel, request("05 66 FF 01 02"));
    EXPECT_EQ(panel.tables().m39[255], 0x0102);
}

TEST(PanelAnswer, ABroadcastIsCarriedOutWithoutAnAnswer) {
    Panel panel = freshPanel();
    EXPECT_EQ(ask(panel, request("FE 5E 0A")), "");
    EXPECT_EQ(panel.tables().lastPolledZone, 10);
}

}  // namespace
}  // namespace sim::test
