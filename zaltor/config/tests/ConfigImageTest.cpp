#include "zaltor/config/tests/RecordFixtures.h"
#include "zaltor/config/BlockTypes.h"
#include "zaltor/config/ConfigImage.h"

#include <gtest/gtest.h>


namespace zaltor {
namespace {

TEST(BlockTypes, TableColumnsAndReverseMapping) {
    struct Row {
        int index;
        const char *dbName;
        const char *fileName;
        uint8_t code;
        int zones;
        int fromCode;  // what the code maps back to
    };
    const Row rows[] = {
        {1, "M31", "M31", 0x42, 2, 1},   {2, "M32", "M32", 0x34, 4, 2},
        {3, "M33", "M33", 0x52, 2, 3},   {4, "M34", "M34", 0x72, 2, 4},
        {5, "M39", "M39", 0x34, 4, 2},   {6, "M35", "M38", 0xA0, 0, 6},
        {7, "M36", "M31/8", 0x48, 8, 7}, {8, "M37", "M32/8", 0x38, 8, 8},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(blockTypeByDbName(r.dbName), r.index);
        EXPECT_EQ(blockTypeByFileName(r.fileName), r.index);
        EXPECT_EQ(blockTypeDbName(r.index), r.dbName);
        EXPECT_EQ(blockTypeFileName(r.index), r.fileName);
        EXPECT_EQ(blockTypeCode(r.index), r.code);
        EXPECT_EQ(blockTypeZones(r.index), r.zones);
        EXPECT_EQ(blockTypeByCode(r.code), r.fromCode);
    }
}

TEST(BlockTypes, UnknownNamesIndexesAndCodes) {
    // The two columns differ for three types, and names are compared exactly.
    EXPECT_EQ(blockTypeByFileName("M35"), 0);
    EXPECT_EQ(blockTypeByDbName("M38"), 0);
    EXPECT_EQ(blockTypeByDbName("m31"), 0);
    EXPECT_EQ(blockTypeByDbName(""), 0);
    for (int index : {0, 9, -1}) {
        EXPECT_EQ(blockTypeDbName(index), "");
        EXPECT_EQ(blockTypeFileName(index), "");
        EXPECT_EQ(blockTypeCode(index), std::nullopt);
        EXPECT_EQ(blockTypeZones(index), 0);
    }
    EXPECT_EQ(blockTypeByCode(0x00), 0);
    EXPECT_EQ(blockTypeByCode(0xFF), 0);
}

using fixtures::reply;

TEST(RecordBuffer, AppendStopsAtTheLastWholeRecord) {
    RecordBuffer buffer;
    for (size_t i = 0; i < 58254; ++i) ASSERT_TRUE(buffer.append(reply(90, {1})));
    EXPECT_EQ(buffer.byteCount(), 1048572u);
    EXPECT_FALSE(buffer.append(reply(90, {2})));
    EXPECT_EQ(buffer.byteCount(), 1048572u);
    EXPECT_EQ(buffer.records().back().data[0], 1);
}

TEST(RecordBuffer, CopiesOnlyTheCountedDataBytes) {
    CommandRecord zoneReply = reply(85, {7, 0x21, 0x99});
    zoneReply.dataCount = 2;
    zoneReply.spare[0] = 0xEE;
    CommandRecord overlong = reply(86, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    overlong.dataCount = 16;  // more than the record's ten data bytes
    overlong.spare[0] = 0xEE;
    RecordBuffer buffer;
    ASSERT_TRUE(buffer.append(zoneReply));
    ASSERT_TRUE(buffer.append(overlong));
    const ConfigRecord &zone = buffer.records()[0];
    EXPECT_EQ(zone.code, 85);
    EXPECT_EQ(zone.data[1], 0x21);
    EXPECT_EQ(zone.data[2], 0);
    const ConfigRecord &section = buffer.records()[1];
    EXPECT_EQ(section.data[9], 10);
    EXPECT_EQ(section.data[10], 0);  // the spare byte is not data
}

class ImageLoad : public ::testing::Test {
protected:
    void add(uint16_t code, std::initializer_list<uint8_t> data) { ASSERT_TRUE(buffer.append(reply(code, data))); }
    bool load() { return image.loadRecords(buffer); }
    RecordBuffer buffer;
    ConfigImage image;
};

TEST_F(ImageLoad, ResetState) {
    ConfigImage fresh;
    EXPECT_TRUE(fresh.blocks.empty());
    EXPECT_EQ(fresh.zoneCount, 0);
    EXPECT_EQ(fresh.zones[199], ZoneSlot{});
    EXPECT_EQ(fresh.cards[255], (KeyRow{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    KeyRow unset;
    unset.fill(0xFF);
    unset[0] = 0;
    EXPECT_EQ(fresh.passwords[0], unset);
    EXPECT_EQ(fresh.sections[255][3], KeyRow{});
}

TEST_F(ImageLoad, EmptyBufferResetsAndAnswersFalse) {
    add(90, {12});
    ASSERT_TRUE(load());
    EXPECT_EQ(image.zoneCount, 12);
    buffer.clear();
    EXPECT_FALSE(load());
    EXPECT_EQ(image, ConfigImage());
}

TEST_F(ImageLoad, BlocksExtendTheListAndMapTypeCodes) {
    add(89, {30, 0x01, 0x02, 0x34});  // M39 and M32 share the code: the block comes back as M32
    add(89, {2, 0x00, 0x07, 0xA0});
    add(89, {3, 0x00, 0x08, 0x99});   // no type has this code
    add(89, {0, 0x00, 0x09, 0x42});   // poll-order number 0: ignored
    ASSERT_TRUE(load());
    ASSERT_EQ(image.blocks.size(), 30u);
    EXPECT_EQ(image.blocks[29].address, 0x0102);
    EXPECT_EQ(image.blocks[29].typeName, "M32");
    EXPECT_EQ(image.blocks[29].p03Number, 30);
    EXPECT_EQ(image.blocks[1].typeName, "M35");
    EXPECT_EQ(image.blocks[2].typeName, "");
    EXPECT_EQ(image.blocks[0].address, 0);
    EXPECT_EQ(image.blocks[0].typeName, "");
}

TEST_F(ImageLoad, ZonesAndDelays) {
    add(95, {0, 5, 9});             // a delay before its zone is cleared by the zone record
    add(85, {5, 0x01});
    add(85, {5, 0x26});             // the later zone record wins
    add(95, {1, 5, 30});
    add(95, {0, 5, 40});
    add(95, {2, 5, 50});            // unknown delay kind
    add(85, {0, 0x3F});             // zone numbers outside 1..200 are skipped
    add(85, {201, 0x3F});
    add(95, {0, 201, 1});
    add(85, {200, 0xFF});
    add(90, {250});
    ASSERT_TRUE(load());
    ZoneSlot expected;
    expected.inv = 1;
    expected.shContr = 1;
    expected.autoSet = 1;
    expected.delaySns = 30;
    expected.delaySet = 40;
    expected.zoneNumber = 5;
    EXPECT_EQ(image.zones[4], expected);
    EXPECT_EQ(image.zones[199].zoneNumber, 200);
    EXPECT_EQ(image.zones[199].grd, 1);
    EXPECT_EQ(image.zones[199].delaySet, 0);
    EXPECT_EQ(image.zones[0], ZoneSlot{});
    EXPECT_EQ(image.zoneCount, 250);
}

TEST_F(ImageLoad, KeysAndSections) {
    add(5, {0, 0x12, 0x34, 0, 0, 3});
    add(5, {0, 0xFF, 0xFF, 0, 0, 4});  // an unset password stays unset
    add(5, {1, 0x00, 0x12, 0xAB, 0x0F, 255});
    add(5, {2, 0x11, 0x11, 0x11, 0x11, 6});  // unknown key kind
    add(86, {7, 1, 0x80, 0, 0, 0, 0, 0, 0, 0x01});
    add(86, {8, 4, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});  // no quarter 4
    add(77, {1, 2, 3});                                            // unknown code
    ASSERT_TRUE(load());
    EXPECT_EQ(image.passwords[3], (KeyRow{0, 3, 0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(image.passwords[4], (KeyRow{0, 4, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(image.cards[255], (KeyRow{1, 255, 0x00, 0x12, 0xAB, 0x0F, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(image.cards[6], ConfigImage().cards[6]);
    EXPECT_EQ(image.passwords[6], ConfigImage().passwords[6]);
    EXPECT_EQ(image.sections[7][1], (KeyRow{0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0x01, 0, 0}));
    EXPECT_EQ(image.sections[8], ConfigImage().sections[8]);
}

TEST(SectionBits, LowestNumberOfEachByteIsItsTopBit) {
    struct Row {
        int zone, quarter, maskByte;
        uint8_t bit;
    };
    for (const Row &r : {Row{1, 0, 0, 0x80}, Row{8, 0, 0, 0x01}, Row{9, 0, 1, 0x80}, Row{64, 0, 7, 0x01},
                         Row{65, 1, 0, 0x80}, Row{200, 3, 0, 0x01}, Row{256, 3, 7, 0x01}}) {
        const SectionBit b = sectionBitOf(r.zone);
        EXPECT_EQ(b.quarter, r.quarter) << r.zone;
        EXPECT_EQ(b.maskByte, r.maskByte) << r.zone;
        EXPECT_EQ(b.bit, r.bit) << r.zone;
    }
}

}  // namespace
}  // namespace zaltor
