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
        {"block type", [](ConfigImage &i) { i.blocks[0].typeName = "M31"; },
         "block 1: type code 160 in the database, 66 in the panel"},
        {"M39 reads back as M32", [](ConfigImage &i) { i.blocks[1].typeName = "M32"; }, nullptr},
        {"empty slots after the last block", [](ConfigImage &i) { i.blocks.resize(50, {0, 0xFFFF, "M31"}); }, nullptr},
        {"a block behind empty slots",
         [](ConfigImage &i) {
             i.blocks.resize(49, {0, 0xFFFF, "M31"});
             i.blocks.push_back({50, 0x20, "M31"});
         },
         "blocks: 2 in the database, 50 in the panel"},
        {"card", [](ConfigImage &i) { i.cards[5][2] = 0; },
         "user 5: card 12 00 00 00 in the database, 00 00 00 00 in the panel"},
        {"user number in a read key", [](ConfigImage &i) { i.passwords[5][1] = 5; }, nullptr},
        {"key bytes never sent", [](ConfigImage &i) { i.cards[5][9] = 7; }, nullptr},
        {"slot bookkeeping the panel does not keep", [](ConfigImage &i) { i.zones[16].kind = kNoData; }, nullptr},
        {"section", [](ConfigImage &i) { i.sections[3][1][4] = 0x80; },
         "section 3 quarter 2: 00 00 00 00 00 00 00 00 in the database, 00 00 80 00 00 00 00 00 in the panel"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ConfigImage read = written;
        c.change(read);
        EXPECT_EQ(describeDifferences(written, read), c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace zaltor
