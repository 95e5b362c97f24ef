#include "zaltor/config/dbbuild/DbBuild.h"

#include "zaltor/config/dbbuild/tests/RecordingUi.h"
#include "zaltor/config/dbbuild/tests/SiteDb.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <utility>

namespace zaltor {

// Readable failures for the image's records.
void PrintTo(const BlcRecord &b, std::ostream *os) {
    *os << "{p03 " << b.p03Number << ", addr " << b.address << ", '" << b.typeName << "'}";
}
void PrintTo(const ZoneSlot &z, std::ostream *os) {
    *os << "{kind " << z.kind << ", in block " << +z.numberInBlock << ", grd " << +z.grd << ", inv "
        << +z.inv << ", sh " << +z.shContr << ", sns " << +z.delaySns << ", set " << +z.delaySet
        << ", auto " << +z.autoSet << ", zone " << +z.zoneNumber << "}";
}

namespace dbbuild {
namespace {

using namespace tests;

constexpr int kPanel = 10;

// A slot with no row: kind 0, flags and delays 0, written under its own slot number.
ZoneSlot noRow(int numberInBlock, int slot) {
    ZoneSlot z;
    z.numberInBlock = static_cast<uint8_t>(numberInBlock);
    z.zoneNumber = static_cast<uint8_t>(slot);
    return z;
}

ZoneSlot zone(ZoneSlotKind kind, int inBlock, std::array<int, 7> fields) {
    auto [grd, inv, sh, sns, set, autoSet, number] = fields;
    return {kind,
            static_cast<uint8_t>(inBlock),
            static_cast<uint8_t>(grd),
            static_cast<uint8_t>(inv),
            static_cast<uint8_t>(sh),
            static_cast<uint8_t>(sns),
            static_cast<uint8_t>(set),
            static_cast<uint8_t>(autoSet),
            static_cast<uint8_t>(number)};
}

struct BlocksCase {
    const char *name;
    std::vector<std::string> rows;  // besides the panel's own CTAB row
    std::vector<BlcRecord> blocks;
    int zoneCount;
    std::map<int, ZoneSlot> zoneSlots;  // every other slot stays as reset
};

TEST(DbBuild, BlocksAndTheirZoneSlots) {
    const BlocksCase cases[] = {
        {"no block rows: an empty block list", {}, {}, 0, {}},
        {"only the panel's blocks, by N; types compared exactly, unknown ones take no slot",
         {ctabRow(13, kPanel, "M31", "4660"), ctabRow(11, kPanel, "M99", "1"),
          ctabRow(12, kPanel, "m31", "NULL"), ctabRow(21, 20, "M31", "7")},
         {{0, 1, "M99"}, {0, 0, "m31"}, {0, 4660, "M31"}},
         2,
         {{1, noRow(1, 1)}, {2, noRow(2, 2)}}},
        {"sensor rows land in their fields; a zone without a row takes its slot's own number",
         {ctabRow(11, kPanel, "M31"), ctabRow(12, kPanel, "M32"),
          sensorRow(11, 1, "1, 0, 1, 30, 45, 0, 17"), sensorRow(11, 2, "0, 1, 0, 5, 6, 1, 18"),
          sensorRow(12, 1, "1, 1, 1, 0, 0, 1, 19"), sensorRow(12, 3, "0, 0, 0, 0, 0, 0, 21"),
          sensorRow(12, 4, "0, 0, 0, 0, 0, 0, 22")},
         {{0, 0, "M31"}, {0, 0, "M32"}},
         6,
         {{1, zone(kSensorZone, 1, {1, 0, 1, 30, 45, 0, 17})},
          {2, zone(kSensorZone, 2, {0, 1, 0, 5, 6, 1, 18})},
          {3, zone(kSensorZone, 1, {1, 1, 1, 0, 0, 1, 19})},
          {4, noRow(2, 4)},
          {5, zone(kSensorZone, 3, {0, 0, 0, 0, 0, 0, 21})},
          {6, zone(kSensorZone, 4, {0, 0, 0, 0, 0, 0, 22})}}},
        {"M39 then M35: P03 numbers 1 and 2, four row-less slots and none; the slots go on after "
         "them",
         {ctabRow(11, kPanel, "M39", "5"), ctabRow(12, kPanel, "M35", "6"),
          ctabRow(13, kPanel, "M31"), sensorRow(11, 1, "1, 1, 1, 9, 9, 1, 99")},
         {{1, 5, "M39"}, {2, 6, "M35"}, {0, 0, "M31"}},
         6,
         {{1, noRow(1, 1)},
          {2, noRow(2, 2)},
          {3, noRow(3, 3)},
          {4, noRow(4, 4)},
          {5, noRow(1, 5)},
          {6, noRow(2, 6)}}},
        {"a control block reads its channels, not sensor rows",
         {ctabRow(11, kPanel, "M33"), channelRow(1, 11, 1, "1, 0, 9"),
          sensorRow(11, 2, "1, 1, 1, 9, 9, 1, 99"), channelRow(2, 11, 2, "0, 1, 10")},
         {{0, 0, "M33"}},
         2,
         {{1, zone(kControlChannel, 1, {1, 0, 0, 0, 0, 0, 9})},
          {2, zone(kControlChannel, 2, {0, 0, 1, 0, 0, 0, 10})}}},
        {"a control channel without a row",
         {ctabRow(11, kPanel, "M33"), channelRow(1, 11, 1, "1, 1, 9")},
         {{0, 0, "M33"}},
         2,
         {{1, zone(kControlChannel, 1, {1, 0, 1, 0, 0, 0, 9})}, {2, noRow(2, 2)}}},
        {"numbers keep their low byte; any non-zero flag is set",
         {ctabRow(11, kPanel, "M31"), sensorRow(11, 1, "2, -1, 256, 300, 511, 0, 257"),
          sensorRow(11, 2, "0, 0, 0, 0, 0, 65536, 200")},
         {{0, 0, "M31"}},
         2,
         {{1, zone(kSensorZone, 1, {1, 1, 1, 44, 255, 0, 1})},
          {2, zone(kSensorZone, 2, {0, 0, 0, 0, 0, 1, 200})}}},
        {"a row of nulls: flags 0 and zone number 0, so the slot is not written",
         {ctabRow(11, kPanel, "M31"), sensorRow(11, 1, "NULL, NULL, NULL, NULL, NULL, NULL, NULL")},
         {{0, 0, "M31"}},
         2,
         {{1, zone(kSensorZone, 1, {0, 0, 0, 0, 0, 0, 0})}, {2, noRow(2, 2)}}},
    };
    for (const BlocksCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto site = sqliteSite();
        site->run({ctabRow(kPanel, 1, "Пульт M50", "-3")});
        site->run(c.rows);
        ConfigImage image;
        RunningOperation op;
        const BuildResult result = buildFromDatabase(site->db(), kPanel, image, op.ui, op.state);
        ASSERT_EQ(result.status, BuildStatus::kBuilt) << result.error.toStdString();
        EXPECT_EQ(image.blocks, c.blocks);
        EXPECT_EQ(image.zoneCount, c.zoneCount);
        for (int s = 1; s <= ConfigImage::kZoneSlots; ++s) {
            const auto expected = c.zoneSlots.find(s);
            EXPECT_EQ(image.zones[s - 1],
                      expected == c.zoneSlots.end() ? ZoneSlot{} : expected->second)
                << "slot " << s;
        }
    }
}

TEST(DbBuild, SlotsPast200AreCountedButNeitherReadNorStored) {
    auto site = sqliteSite();
    std::vector<std::string> rows{ctabRow(kPanel, 1, "Пульт M50")};
    for (int n = 1; n <= 24; ++n) rows.push_back(ctabRow(100 + n, kPanel, "M36"));  // slots 1..192
    rows.push_back(ctabRow(125, kPanel, "M32"));                                    // 193..196
    rows.push_back(ctabRow(126, kPanel, "M36"));                                    // 197..204
    rows.push_back(sensorRow(126, 4, "1, 0, 0, 0, 0, 0, 200"));                     // slot 200
    // Slot 201's row would stop the build with an error if it were read.
    rows.push_back(sensorRow(126, 5, "'not a number', 0, 0, 0, 0, 0, 201"));
    site->run(rows);

    ConfigImage image;
    RunningOperation op;
    const BuildResult result = buildFromDatabase(site->db(), kPanel, image, op.ui, op.state);
    ASSERT_EQ(result.status, BuildStatus::kBuilt) << result.error.toStdString();
    EXPECT_EQ(image.zoneCount, 204);
    EXPECT_EQ(image.blocks.size(), 26u);
    EXPECT_EQ(image.zones[195], noRow(4, 196));
    EXPECT_EQ(image.zones[196], noRow(1, 197));
    EXPECT_EQ(image.zones[199], zone(kSensorZone, 4, {1, 0, 0, 0, 0, 0, 200}));
}

TEST(DbBuild, ShowsEachBlockAndStopsBeforeTheNextOnceAborted) {
    auto site = sqliteSite();
    site->run({ctabRow(kPanel, 1, "Пульт M50"), ctabRow(11, kPanel, "M31"),
               ctabRow(12, kPanel, "M31"), ctabRow(13, kPanel, "M31"), clientRow(1, "'12AB'"),
               userRow(kPanel, 1, "4", "1234"), sectionRow(kPanel, 1, 1)});
    const std::string text(kBlockProgressText);
    EXPECT_EQ(text, "Читается информация о блоке №");

    RunningOperation whole;
    ConfigImage image;
    ASSERT_EQ(buildFromDatabase(site->db(), kPanel, image, whole.ui, whole.state).status,
              BuildStatus::kBuilt);
    const std::vector<std::pair<int, std::string>> three{{1, text}, {2, text}, {3, text}};
    EXPECT_EQ(whole.ui.shown, three);
    EXPECT_TRUE(whole.ui.messages.empty());

    shell::OperationState state{.operation = true};
    RecordingUi abortAtSecond(state, 2);
    ConfigImage stopped;
    EXPECT_EQ(buildFromDatabase(site->db(), kPanel, stopped, abortAtSecond, state).status,
              BuildStatus::kStopped);
    EXPECT_EQ(abortAtSecond.shown.size(), 2u);
    EXPECT_EQ(stopped.blocks.size(), 2u);
    EXPECT_EQ(stopped.cards, ConfigImage{}.cards) << "users are not read once stopped";
    EXPECT_EQ(stopped.sections, ConfigImage{}.sections);
}

TEST(DbBuild, AClearedFlagReadsNothingAndLeavesTheImage) {
    auto site = sqliteSite();
    site->run({ctabRow(kPanel, 1, "Пульт M50"), ctabRow(11, kPanel, "M31")});
    shell::OperationState failedConnection{.operation = false};
    RecordingUi ui(failedConnection);
    ConfigImage image;
    image.zoneCount = 7;
    EXPECT_EQ(buildFromDatabase(site->db(), kPanel, image, ui, failedConnection).status,
              BuildStatus::kStopped);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(image.zoneCount, 7);
}

struct ErrorCase {
    const char *name;
    std::vector<std::string> rows;
    BuildStatus status;
    const char *errorNames;  // a word the error must contain
};

TEST(DbBuild, DatabaseErrors) {
    const ErrorCase cases[] = {
        {"no CTAB", {"DROP TABLE CTAB"}, BuildStatus::kDatabaseError, "CTAB"},
        {"no SNSTAB under a sensor block",
         {ctabRow(11, kPanel, "M32"), "DROP TABLE SNSTAB"},
         BuildStatus::kDatabaseError,
         "SNSTAB"},
        {"no DEVTAB under a control block",
         {ctabRow(11, kPanel, "M33"), "DROP TABLE DEVTAB"},
         BuildStatus::kDatabaseError,
         "DEVTAB"},
        {"no DEVTAB and no control block",
         {ctabRow(11, kPanel, "M32"), "DROP TABLE DEVTAB"},
         BuildStatus::kBuilt,
         ""},
        {"no SNSTAB and only row-less types",
         {ctabRow(11, kPanel, "M39"), "DROP TABLE SNSTAB"},
         BuildStatus::kBuilt,
         ""},
        {"a text in a zone's flag",
         {ctabRow(11, kPanel, "M31"), sensorRow(11, 2, "'yes', 0, 0, 0, 0, 0, 2")},
         BuildStatus::kDatabaseError,
         "GRD"},
        {"a text in a channel's zone number",
         {ctabRow(11, kPanel, "M33"), channelRow(1, 11, 1, "1, 1, 'x9'")},
         BuildStatus::kDatabaseError,
         "ZONENUMBER"},
        {"a text in a block's address",
         {ctabRow(11, kPanel, "M31", "'1F'")},
         BuildStatus::kDatabaseError,
         "ADDR"},
        {"no CTAB.ADDR column",
         {"ALTER TABLE CTAB RENAME COLUMN ADDR TO ADDRESS",
          "INSERT INTO CTAB (N, PARENT, CTYPE) VALUES (11, 10, 'M31')"},
         BuildStatus::kDatabaseError,
         "ADDR"},
        {"no users and no sections tables",
         {"DROP TABLE PULTUSERS", "DROP TABLE PULTSECTIONS"},
         BuildStatus::kBuilt,
         ""},
    };
    for (const ErrorCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto site = sqliteSite();
        site->run({ctabRow(kPanel, 1, "Пульт M50")});
        site->run(c.rows);
        ConfigImage image;
        RunningOperation op;
        const BuildResult result = buildFromDatabase(site->db(), kPanel, image, op.ui, op.state);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(op.ui.messages.empty()) << "the caller reports the error";
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.errorNames)))
            << result.error.toStdString();
        EXPECT_EQ(result.error.isEmpty(), c.status == BuildStatus::kBuilt)
            << result.error.toStdString();
    }
}

}  // namespace
}  // namespace dbbuild
}  // namespace zaltor
