// The site's SQL texts run unchanged on an SQLite site database: its connections fold Cyrillic
// in UPPER as the other engines do.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "SiteFixture.h"
#include "zaltor/shell/db/SiteDatabase.h"

namespace zaltor::shell {
namespace {

// The panel list statement of the panel list window, line by line as the window sends it.
const char *const kPanelList =
    "SELECT\nCT.N AS NCT,\nCT.PORT AS PORTCT,\nCT.LINE AS LINECT,\nCT.ADDR*(-1) AS ADDRCT,\nCT.OPIS AS OPISCT,\n"
    "C.OPIS AS PARCT\nFROM\nCTAB CT, CTAB C\nWHERE     CT.PARENT=C.N\nAND\nUPPER(CT.CTYPE)='ПУЛЬТ M50'\nORDER BY CT.N";

class SqliteUpper : public testing::Test {
protected:
    void SetUp() override {
        site_.dir.write("site.sqlite", "");
        site_.aliases("[DEMO]\nDriver=STANDARD\nPath=site.sqlite\n");
        site_.store("DEMO");
        TSiteDatabaseError error;
        db_ = OpenSiteDatabase("DEMO", &error);
        ASSERT_TRUE(db_) << error.text;
    }
    void TearDown() override { db_.reset(); }

    void exec(const QString &sql) {
        QSqlQuery query(db_->database());
        ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }

    SiteFixture site_;
    std::optional<TSiteDatabase> db_;
};

TEST_F(SqliteUpper, PanelListFindsM50RowsInAnyLetterCase) {
    exec("create table CTAB (N integer, PORT integer, LINE integer, ADDR integer, OPIS varchar(60), "
         "CTYPE varchar(40), PARENT integer)");
    exec("insert into CTAB values (1, 0, 0, 0, 'Сервер охраны', 'Компьютер', 1),"
         " (10, 1, 2, -5, 'Корпус А', 'Пульт M50', 1),"
         " (11, 1, 2, -6, 'Корпус Б', 'пульт m50', 1),"
         " (12, 3, 0, -7, 'Склад', 'ПУЛЬТ M50', 1),"
         " (13, 3, 0, -8, 'Гараж', 'Пульт M60', 1),"
         " (14, 3, 0, -9, 'Цех', 'Пульт М50', 1),"  // Cyrillic М: another type
         " (15, 3, 0, -4, 'Сирота', 'Пульт M50', 99)");  // no parent row
    QSqlQuery panels(db_->database());
    ASSERT_TRUE(panels.exec(kPanelList)) << panels.lastError().text().toStdString();
    std::vector<int> numbers;
    while (panels.next()) {
        numbers.push_back(panels.value("NCT").toInt());
        EXPECT_GT(panels.value("ADDRCT").toInt(), 0);
        EXPECT_EQ(panels.value("PARCT").toString().toStdString(), "Сервер охраны");
    }
    EXPECT_EQ(numbers, (std::vector<int>{10, 11, 12}));
}

TEST_F(SqliteUpper, PanelNumberCheckTakesANamedParameterAndTheExactType) {
    exec("create table ctab (n integer, ctype varchar(40))");
    exec("insert into ctab values (10, 'Пульт M50'), (11, 'пульт m50'), (12, 'Блок M31')");
    const struct {
        int n, count;
    } cases[] = {{10, 1}, {11, 0}, {12, 0}, {99, 0}};
    for (const auto &c : cases) {
        QSqlQuery check(db_->database());
        ASSERT_TRUE(check.prepare("select count(*) cnt from ctab where n=:n and ctype='Пульт M50'"));
        check.bindValue(":n", c.n);
        ASSERT_TRUE(check.exec() && check.next()) << check.lastError().text().toStdString();
        EXPECT_EQ(check.value("cnt").toInt(), c.count) << "n=" << c.n;
    }
}

TEST_F(SqliteUpper, FoldsEveryLetterAndKeepsNullAndNumbers) {
    const struct {
        QVariant in, out;
    } cases[] = {
        {QString("пульт ёж m50"), QString("ПУЛЬТ ЁЖ M50")},
        {QString("Straße"), QString("STRASSE")},
        {QString(""), QString("")},
        {42, QString("42")},
        {QVariant(), QVariant()},
    };
    for (const auto &c : cases) {
        QSqlQuery upper(db_->database());
        ASSERT_TRUE(upper.prepare("select UPPER(:v)"));
        upper.bindValue(":v", c.in);
        ASSERT_TRUE(upper.exec() && upper.next()) << upper.lastError().text().toStdString();
        EXPECT_EQ(upper.value(0).toString().toStdString(), c.out.toString().toStdString());
        EXPECT_EQ(upper.value(0).isNull(), c.out.isNull());
    }
}

}  // namespace
}  // namespace zaltor::shell
