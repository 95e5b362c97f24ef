#include "zaltor/config/ImageDiff.h"

#include <gtest/gtest.h>

namespace zaltor {
namespace {

TEST(ImageDiffTest, EachDifferenceIsOneLineNamingWhereAndBothValues) {
    ConfigImage written;
    written.blocks = {{1, 0x12, "M35"}, {2, 0x13, "M39"}};
    written.zoneCount = 4;
    written.zones[16] = {.kind = kSensorZone, .grd = 3, .delaySns = 10, .zoneNumber = 17};
    written.cards[5][2] = 0x12;
    EXPECT_TRUE(describeDifferences(written, written).empty());

    struct Case {
        const char *name;
        void (*change)(ConfigImage &);
        const char *line;
    };
    const Case cases[] = {
        {"flags", [](ConfigImage &i) { i.zones[16].grd = 1; }, "zone slot 17: grd 03 in the database, 01 in the panel"},
        {"delay", [](ConfigImage &i) { i.zones[16].delaySns = 0; },
         "zone slot 17: delay to trigger 10 in the database, 0 in the panel"},
        {"block", [](ConfigImage &i) { i.blocks[1].address = 0x14; }, "block 2: address 19 in the database, 20 in the panel"},
        {"missing block", [](ConfigImage &i) { i.blocks.pop_back(); }, "blocks: 2 in the database, 1 in the panel"},
        {"card", [](ConfigImage &i) { i.cards[5][2] = 0; },
         "user 5: card 01 00 12 00 00 00 00 00 00 00 00 00 in the database, 01 00 00 00 00 00 00 00 00 00 00 00 in the panel"},
        {"section", [](ConfigImage &i) { i.sections[3][1][4] = 0x80; },
         "section 3 quarter 2: 00 00 00 00 00 00 00 00 00 00 00 00 in the database, 00 00 00 00 80 00 00 00 00 00 00 00 in the panel"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ConfigImage read = written;
        c.change(read);
        EXPECT_EQ(describeDifferences(written, read), std::vector<std::string>{c.line});
    }
}

}  // namespace
}  // namespace zaltor
