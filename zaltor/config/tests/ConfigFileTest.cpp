#include "testsupport/TempDir.h"
#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/tests/RecordFixtures.h"
#include "zaltor/config/tests/XmlLint.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace zaltor {
namespace {

using fixtures::recordsText;
using fixtures::reply;

class ConfigFile : public ::testing::Test {
protected:
    std::string path(const std::string &name = "Zaltor.xml") const { return (dir / name).string(); }
    ConfigFileLoad loadText(const std::string &document) {
        dir.write("in.xml", document);
        return loadConfigFile(path("in.xml"), buffer);
    }
    void add(uint16_t code, std::initializer_list<uint8_t> data) { ASSERT_TRUE(buffer.append(reply(code, data))); }
    std::string saved() {
        EXPECT_TRUE(saveConfigFile(buffer, path()));
        return dir.read("Zaltor.xml");
    }
    testsupport::TempDir dir;
    RecordBuffer buffer;
};

TEST_F(ConfigFile, SaveWritesEveryRecordKindAsOneElement) {
    add(89, {1, 0x01, 0x05, 0x48});
    add(89, {2, 0xFF, 0xFF, 0x42});  // empty poll-order slot
    add(89, {3, 0x00, 0x09, 0x99});  // a code of no type
    add(90, {200});
    add(95, {0, 7, 10});
    add(95, {1, 7, 20});
    add(85, {7, 0xFF, 1, 2, 3});
    add(86, {3, 0, 0xC0, 0x80});
    add(86, {4, 1});                  // no members
    add(86, {5, 3, 0x81, 0xFF});      // members above 200 are left out
    add(5, {0, 0xFF, 0xFF, 0, 0, 3});
    add(5, {0, 0x12, 0xFA, 0, 0, 4}); // one pair not BCD
    add(5, {0, 0x12, 0x34, 0, 0, 5});
    add(5, {1, 0x00, 0x12, 0xAB, 0x0F, 6});
    add(5, {2, 1, 2, 3, 4, 9});
    add(77, {1, 2, 3});
    EXPECT_EQ(saved(),
              "<Main>"
              "<Block_Req Num=\"1\" Addr=\"261\" cType=\"M31/8\"></Block_Req>"
              "<Block_Req Num=\"3\" Addr=\"9\" cType=\"\"></Block_Req>"
              "<LastZone LastZoneNum=\"200\"></LastZone>"
              "<ZoneDelays ZoneNumber=\"7\" DelaySet=\"10\"></ZoneDelays>"
              "<ZoneDelays ZoneNumber=\"7\" DelaySns=\"20\"></ZoneDelays>"
              "<ZoneInfo ZoneNumber=\"7\" Grd=\"1\" Inv=\"1\" ShContr=\"1\" AutoSet=\"1\"></ZoneInfo>"
              "<Part_Consist Part=\"3\" Cont=\"1,2,9\"></Part_Consist>"
              "<Part_Consist Part=\"5\" Cont=\"193,200\"></Part_Consist>"
              "<CardInfo CardNum=\"3\" Pass=\"FFFF\"></CardInfo>"
              "<CardInfo CardNum=\"4\" Pass=\"FFFF\"></CardInfo>"
              "<CardInfo CardNum=\"5\" Pass=\"1234\"></CardInfo>"
              "<CardInfo CardNum=\"6\" Code=\"0012AB0Fh\"></CardInfo>"
              "<CardInfo CardNum=\"9\"></CardInfo>"
              "</Main>");
    if (!fixtures::haveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    EXPECT_TRUE(fixtures::wellFormed(path()));
}

TEST_F(ConfigFile, ThreeBlocksOutOfFiftySlots) {
    for (uint8_t slot = 1; slot <= 50; ++slot)
        add(89, slot <= 3 ? std::initializer_list<uint8_t>{slot, 0, slot, 0x42} : std::initializer_list<uint8_t>{slot, 0xFF, 0xFF, 0x42});
    const std::string document = saved();
    size_t blocks = 0;
    for (size_t at = document.find("<Block_Req "); at != std::string::npos; at = document.find("<Block_Req ", at + 1)) ++blocks;
    EXPECT_EQ(blocks, 3u);
    ASSERT_TRUE(loadConfigFile(path(), buffer).complete);
    EXPECT_EQ(recordsText(buffer), "89: 01 00 01 42 | 89: 02 00 02 42 | 89: 03 00 03 42");
}

struct LoadCase {
    const char *body;  // inside <Main>
    const char *records;
    size_t skipped;
    friend void PrintTo(const LoadCase &c, std::ostream *out) { *out << c.body; }
};

class ConfigFileLoadCases : public ConfigFile, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ConfigFileLoadCases, BuildsRecords) {
    const ConfigFileLoad load = loadText(std::string("<Main>") + GetParam().body + "</Main>");
    EXPECT_TRUE(load.ok);
    EXPECT_TRUE(load.complete) << load.stopReason;
    EXPECT_EQ(recordsText(buffer), GetParam().records);
    EXPECT_EQ(load.recordsBuilt, buffer.records().size());
    EXPECT_EQ(load.elementsSkipped, GetParam().skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, ConfigFileLoadCases,
    ::testing::Values(
        LoadCase{"<Block_Req Num='1' Addr='261' cType='M31/8'></Block_Req>", "89: 01 01 05 48", 0},
        // A block with address 0, a type named as in the database, or a value too big for its
        // byte builds nothing; the next element still loads.
        LoadCase{"<Block_Req Num='1' Addr='0' cType='M31'></Block_Req>"
                 "<Block_Req Num='2' Addr='5' cType='M35'></Block_Req>"
                 "<Block_Req Num='256' Addr='5' cType='M31'></Block_Req>"
                 "<Block_Req Num='4' Addr='65536' cType='M31'></Block_Req>"
                 "<Block_Req Num='-1' Addr='5' cType='M31'></Block_Req>"
                 "<Block_Req Num='6' Addr='5' cType='M38'></Block_Req>",
                 "89: 06 00 05 A0", 5},
        LoadCase{"<LastZone LastZoneNum='200'></LastZone><LastZone LastZoneNum='x'></LastZone>", "90: C8", 1},
        LoadCase{"<LastZone LastZoneNum='1' LastZoneNum='2'></LastZone>"    // the last value counts
                 "<LastZone Num='5' LastZoneNum='3'></LastZone><LastZone Num='5'></LastZone>",
                 "90: 02 | 90: 03", 1},
        LoadCase{"<ZoneInfo ZoneNumber='7' Grd='1' Inv='0' ShContr='1' AutoSet='1' DelaySns='3'></ZoneInfo>"
                 "<ZoneInfo ZoneNumber='8' Grd='1' Inv='0' ShContr='1'></ZoneInfo>"
                 "<ZoneInfo ZoneNumber='9' Grd='2' Inv='0' ShContr='0' AutoSet='0'></ZoneInfo>",
                 "85: 07 25", 2},
        LoadCase{"<CardInfo CardNum='7' Pass='FFFF'></CardInfo>"
                 "<CardInfo CardNum='3' Pass='1234'></CardInfo>"
                 "<CardInfo CardNum='3' Pass='ff12'></CardInfo>"
                 "<CardInfo CardNum='3' Pass='12a4'></CardInfo>"
                 "<CardInfo CardNum='3' Pass='123'></CardInfo>",
                 "5: 00 FF FF 00 00 07 | 5: 00 12 34 00 00 03 | 5: 00 FF 12 00 00 03", 2},
        LoadCase{"<CardInfo CardNum='7' Code='0012AB0Fh'></CardInfo>"
                 "<CardInfo CardNum='7' Code='0012ab0f'></CardInfo>"
                 "<CardInfo CardNum='7' Code='0012AB0'></CardInfo>"
                 "<CardInfo CardNum='7' Code='0012AG0F'></CardInfo>"
                 "<CardInfo CardNum='7'></CardInfo>",
                 "5: 01 00 12 AB 0F 07 | 5: 01 00 12 AB 0F 07", 3},
        LoadCase{"<CardInfo Code='0012AB0Fh' CardNum='8' Pass='5678'></CardInfo>", "5: 00 56 78 00 00 08", 0},
        LoadCase{"<Part_Consist Part='3' Cont='1,2,9'></Part_Consist>"
                 "<Part_Consist Part='3' Cont='65,130'></Part_Consist>"
                 "<Part_Consist Part='4' Cont='5 x 6;0,7'></Part_Consist>"
                 "<Part_Consist Part='4' Cont='256'></Part_Consist>"
                 "<Part_Consist Part='4'></Part_Consist>",
                 "86: 03 00 C0 80 | 86: 03 02 C0 | 86: 04 00 0C", 2},
        LoadCase{"<ZoneDelays ZoneNumber='4' DelaySet='10'></ZoneDelays>"
                 "<ZoneDelays ZoneNumber='4' DelaySet='10' DelaySns='20'></ZoneDelays>"
                 "<ZoneDelays ZoneNumber='4' DelaySns='x'></ZoneDelays>"
                 "<ZoneDelays ZoneNumber='4'></ZoneDelays>",
                 "95: 00 04 0A | 95: 01 04 14 | 95: 01 04", 1}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST_F(ConfigFile, LoadCountsTheSixtyFourFirstMembers) {
    std::string members;
    for (int n = 1; n <= 64; ++n) members += std::to_string(n) + ",";
    ASSERT_TRUE(loadText("<Main><Part_Consist Part='1' Cont='" + members + "300'></Part_Consist></Main>").complete);
    EXPECT_EQ(recordsText(buffer), "86: 01 00 FF FF FF FF FF FF FF FF");
}

struct StopCase {
    const char *document;
    size_t records;
    const char *lastTag;
    const char *reason;
};

TEST_F(ConfigFile, LoadThatStopsEarlyKeepsItsRecordsAndSaysWhy) {
    const StopCase cases[] = {
        {"<?xml version=\"1.0\"?><Main><LastZone LastZoneNum='1'></LastZone></Main>", 0, "<?xml?>",
         "Неизвестный тег <?xml?>"},
        {"<Main><LastZone LastZoneNum='1'/></Main>", 0, "<LastZone/>", "Неизвестный тег <LastZone/>"},
        {"<Main><LastZone LastZoneNum='1'></LastZone><LastZone LastZoneNum=2></LastZone></Main>", 1,
         "</LastZone>",
         "Значение атрибута LastZoneNum тега <LastZone должно быть заключено в одинарные или двойные кавычки."},
        {"<Main><LastZone LastZoneNum='1'></LastZone>", 1, "</LastZone>", "Не закрыты теги: <Main>"},
        {"<Main><LastZone LastZoneNum='1'></LastZone></Main><LastZone LastZoneNum='2'></LastZone><Other>", 2,
         "<Other>", "Неизвестный тег <Other>"},
    };
    for (const StopCase &c : cases) {
        SCOPED_TRACE(c.document);
        const ConfigFileLoad load = loadText(c.document);
        EXPECT_TRUE(load.ok);
        EXPECT_FALSE(load.complete);
        EXPECT_EQ(load.recordsBuilt, c.records);
        EXPECT_EQ(buffer.records().size(), c.records);
        EXPECT_EQ(load.lastTag, c.lastTag);
        EXPECT_EQ(load.stopReason, c.reason);
        EXPECT_GT(load.stopOffset, 0u);
        EXPECT_LE(load.stopOffset, std::string(c.document).size());
    }
}

TEST_F(ConfigFile, LoadFailsWithoutADocumentOrRoom) {
    ConfigFileLoad load = loadConfigFile(path("missing.xml"), buffer);
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.stopReason, "Ошибка открытия файла " + path("missing.xml"));
    load = loadConfigFile(dir.path().string(), buffer);
    EXPECT_FALSE(load.ok);
    EXPECT_FALSE(load.stopReason.empty());
    load = loadText("junk<Main></Main>");
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.stopReason, "Обнаружены непробельные символы до первого тега.");

    std::string many = "<Main>";
    for (size_t i = 0; i <= RecordBuffer::kCapacityRecords; ++i) many += "<LastZone LastZoneNum='1'></LastZone>";
    load = loadText(many + "</Main>");
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.recordsBuilt, RecordBuffer::kCapacityRecords);
    EXPECT_EQ(load.stopReason, "Переполнен буфер конфигурации");
}

TEST_F(ConfigFile, LoadStartsFromAnEmptyBuffer) {
    add(90, {9});
    ASSERT_TRUE(loadText("<Main></Main>").complete);
    EXPECT_TRUE(buffer.records().empty());
}

TEST_F(ConfigFile, SaveReplacesTheFileOnlyWhenWhole) {
    dir.write("Zaltor.xml", "old");
    std::filesystem::permissions(path(), std::filesystem::perms(0640));
    add(90, {1});
    EXPECT_EQ(saved(), "<Main><LastZone LastZoneNum=\"1\"></LastZone></Main>");
    EXPECT_EQ(std::filesystem::status(path()).permissions(), std::filesystem::perms(0640));

    dir.write("Zaltor.xml", "old");
    for (size_t i = 1; i < RecordBuffer::kCapacityRecords; ++i) add(90, {1});
    // A file size limit makes the writes fail part way, as a full disk would.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool savedWithLimit = saveConfigFile(buffer, path());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(savedWithLimit);
    EXPECT_EQ(dir.read("Zaltor.xml"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_FALSE(saveConfigFile(buffer, path("missing/Zaltor.xml")));
    std::filesystem::create_directory(path("folder"));
    EXPECT_FALSE(saveConfigFile(buffer, path("folder")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace zaltor
