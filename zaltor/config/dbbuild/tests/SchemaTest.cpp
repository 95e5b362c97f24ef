// Both schema scripts against every statement the loader sends to the site database, and one
// build over each engine: a missing column, a reserved word or a type that reads back wrong
// shows here.
#include "zaltor/config/dbbuild/BuildQueries.h"
#include "zaltor/config/dbbuild/DbBuild.h"
#include "zaltor/config/dbbuild/tests/RecordingUi.h"
#include "zaltor/config/dbbuild/tests/SiteDb.h"

#include <gtest/gtest.h>
#include <QSqlError>
#include <QSqlQuery>

#include <map>
#include <ostream>

namespace zaltor::dbbuild {
namespace {

using namespace tests;

enum class Engine { kSqlite, kFirebird };

void PrintTo(Engine engine, std::ostream *os) {
    *os << (engine == Engine::kSqlite ? "SQLite" : "Firebird");
}

// A computer, a network controller under it, a panel under that with two blocks, and a user,
// a client and a section member of the panel.
const std::vector<std::string> kSite = {
    "INSERT INTO CTAB (N, PARENT, CTYPE, OPIS, PORT, LINE, ADDR) VALUES (1, NULL, 'ПК', "
    "'Компьютер', 0, 0, 0)",
    "INSERT INTO CTAB (N, PARENT, CTYPE, OPIS, PORT, LINE, ADDR) VALUES (2, 1, 'ZIDI50', 'Сетевой "
    "контроллер', 0, 0, 1)",
    "INSERT INTO CTAB (N, PARENT, CTYPE, OPIS, PORT, LINE, ADDR) VALUES (3, 2, 'Пульт M50', 'Пульт "
    "на проходной', 4, 1, "
    "-5)",
    ctabRow(4, 3, "M31", "17"),
    ctabRow(5, 3, "M33", "18"),
    "INSERT INTO ETHERNETADTAB (CN, IPADDR, SERVNAME) VALUES (2, '127.0.0.1', '21302')",
    sensorRow(4, 1, "1, 0, 1, 30, 45, 1, 7"),
    channelRow(1, 5, 1, "1, 1, 9"),
    clientRow(1, "'12AB'"),
    userRow(3, 1, "1", "1234"),
    sectionRow(3, 1, 65),
};

struct Statement {
    const char *name;
    QString text;
    std::map<QString, QVariant> parameters;
    std::map<QString, QVariant> firstRow;  // columns read by name, with their values
};

// The panel list, one text line per line as the loader's list query holds it.
QString panelListQuery() {
    return QStringLiteral(
        "SELECT\nCT.N AS NCT,\nCT.PORT AS PORTCT,\nCT.LINE AS LINECT,\nCT.ADDR*(-1) AS "
        "ADDRCT,\nCT.OPIS AS OPISCT,\n"
        "C.OPIS AS PARCT\nFROM\nCTAB CT, CTAB C\nWHERE     "
        "CT.PARENT=C.N\nAND\nUPPER(CT.CTYPE)='ПУЛЬТ M50'\nORDER BY "
        "CT.N");
}

const std::vector<Statement> &statements() {
    static const std::vector<Statement> all = {
        {"panel number check",
         QStringLiteral("select count(*) cnt from ctab where n=:n and ctype='Пульт M50'"),
         {{":n", 3}},
         {{"cnt", 1}}},
        {"panel list",
         panelListQuery(),
         {},
         {{"NCT", 3},
          {"PORTCT", 4},
          {"LINECT", 1},
          {"ADDRCT", 5},
          {"OPISCT", "Пульт на проходной"},
          {"PARCT", "Сетевой контроллер"}}},
        {"block count",
         QStringLiteral("SELECT COUNT(*) AS NBL FROM CTAB WHERE PARENT=:NCT"),
         {{":NCT", 3}},
         {{"NBL", 2}}},
        {"panel row",
         QStringLiteral("select * from ctab where n=:n"),
         {{":n", 3}},
         {{"PORT", 4}, {"ADDR", -5}, {"LINE", 1}, {"PARENT", 2}}},
        {"parent row",
         QStringLiteral("select * from ctab where n=:n"),
         {{":n", 2}},
         {{"CTYPE", "ZIDI50"}}},
        {"network controller",
         QStringLiteral("select * from ethernetadtab where cn=:n"),
         {{":n", 2}},
         {{"IPADDR", "127.0.0.1"}, {"SERVNAME", "21302"}}},
        {"blocks", kBlocksQuery, {{":N", 3}}, {{"N", 4}, {"ADDR", 17}, {"CTYPE", "M31"}}},
        {"sensor zone",
         kSensorZoneQuery,
         {{":N", 4}, {":INN", 1}},
         {{"INN", 1},
          {"GRD", 1},
          {"NC", 0},
          {"SHCONTR", 1},
          {"DELAYSNS", 30},
          {"DELAYSET", 45},
          {"AUTOSET", 1},
          {"ZONENUMBER", 7}}},
        {"control channel",
         kControlChannelQuery,
         {{":N", 5}, {":OUTN", 1}},
         {{"N", 1}, {"OUTN", 1}, {"CAN_ACTIVE", 1}, {"CAN_CONTROL", 1}, {"ZONENUMBER", 9}}},
        {"users",
         kUsersQuery,
         {{":N", 3}},
         {{"N", 1}, {"NUM_KD", "12AB"}, {"TCN", 3}, {"CLI_N", 1}, {"TCN_N", 1}, {"PASSW", 1234}}},
        {"sections", kSectionsQuery, {{":N", 3}}, {{"TCN", 3}, {"SNUMBER", 1}, {"N", 65}}},
    };
    return all;
}

// One site per engine for the whole suite, as both tests only read it. The Firebird one is made
// by running isql-fb before the embedded engine starts its threads in this process, since a
// process that forks after that is not one a thread sanitizer follows.
class SiteSchema : public ::testing::TestWithParam<Engine> {
  protected:
    static void TearDownTestSuite() { sites().clear(); }

    void SetUp() override {
        auto &site = sites()[GetParam()];
        if (!site.db && site.whyNot.empty()) {
            site.db = GetParam() == Engine::kSqlite ? sqliteSite() : firebirdSite(site.whyNot);
            if (site.db) site.db->run(kSite);
        }
        if (!site.db) GTEST_SKIP() << "no Firebird here: " << site.whyNot;
        ASSERT_TRUE(site.db->db().isOpen());
        db_ = site.db->db();
    }

    QSqlDatabase db_;

  private:
    struct Site {
        std::unique_ptr<SiteDb> db;
        std::string whyNot;
    };
    static std::map<Engine, Site> &sites() {
        static std::map<Engine, Site> all;
        return all;
    }
};

TEST_P(SiteSchema, EveryStatementOfTheLoaderReadsItsColumns) {
    for (const Statement &s : statements()) {
        SCOPED_TRACE(s.name);
        QSqlQuery query(db_);
        ASSERT_TRUE(query.prepare(s.text)) << query.lastError().text().toStdString();
        for (const auto &[name, value] : s.parameters) query.bindValue(name, value);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_TRUE(query.next()) << "no row";
        for (const auto &[column, value] : s.firstRow) {
            const QVariant read = query.value(column);
            EXPECT_EQ(read.toString(), value.toString()) << column.toStdString();
        }
    }
}

TEST_P(SiteSchema, BuildReadsEveryTable) {
    ConfigImage image;
    RunningOperation op;
    const BuildResult result = buildFromDatabase(db_, 3, image, op.ui, op.state);
    ASSERT_EQ(result.status, BuildStatus::kBuilt) << result.error.toStdString();

    ConfigImage expected;
    expected.blocks = {{0, 17, "M31"}, {0, 18, "M33"}};
    expected.zoneCount = 4;
    expected.zones[0] = {kSensorZone, 1, 1, 0, 1, 30, 45, 1, 7};
    expected.zones[1] = {kNoData, 2, 0, 0, 0, 0, 0, 0, 2};
    expected.zones[2] = {kControlChannel, 1, 1, 0, 1, 0, 0, 0, 9};
    expected.zones[3] = {kNoData, 2, 0, 0, 0, 0, 0, 0, 4};
    expected.cards[1] = {1, 1, 0x00, 0x00, 0x12, 0xAB, 0, 0, 0, 0, 0, 0};
    expected.passwords[1] = {0, 1, 0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    expected.sections[1][1][2] = 0x80;
    EXPECT_EQ(image, expected);
}

INSTANTIATE_TEST_SUITE_P(Engines, SiteSchema, ::testing::Values(Engine::kSqlite, Engine::kFirebird),
                         [](const ::testing::TestParamInfo<Engine> &info) {
                             return info.param == Engine::kSqlite ? "SQLite" : "Firebird";
                         });

}  // namespace
}  // namespace zaltor::dbbuild
