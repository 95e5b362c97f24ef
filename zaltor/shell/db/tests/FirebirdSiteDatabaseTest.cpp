// An INTRBASE alias against a private Firebird server on loopback.
#include <pwd.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>

#include <memory>

#include "SiteFixture.h"
#include "testsupport/FirebirdServer.h"
#include "zaltor/shell/db/SiteDatabase.h"

namespace zaltor::shell {
namespace {

using testsupport::FirebirdServer;

class FirebirdSite : public testing::Test {
protected:
    // One server for the suite: it takes a second or two to stop.
    static void SetUpTestSuite() {
        if (FirebirdServer::unavailable().empty()) server_ = std::make_unique<FirebirdServer>();
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        if (!server_) GTEST_SKIP() << FirebirdServer::unavailable();
    }

    std::string alias(const std::string &database) const {
        return "[SITE]\nDriver=INTRBASE\nServer=" + server_->server() + "\nDatabase=" + database + "\n";
    }

    static std::unique_ptr<FirebirdServer> server_;
    SiteFixture site_;
};

std::unique_ptr<FirebirdServer> FirebirdSite::server_;

void exec(QSqlQuery &query, const QString &sql) {
    ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
}

TEST_F(FirebirdSite, OpensByAliasWithStoredCredentialsAndRunsTheSiteQueries) {
    const std::string file = server_->createDatabase("site.fdb");
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, getpwnam("firebird")->pw_uid) << "the server owns its database files";

    site_.aliases(alias(file));
    SiteFixture::store("SITE", FirebirdServer::kUser, server_->password());
    TSiteDatabaseError error;
    auto db = OpenSiteDatabase("SITE", &error);
    ASSERT_TRUE(db) << error.text;
    {
        QSqlQuery query(db->database());
        exec(query, "create table CTAB (N integer, OPIS varchar(60), CTYPE varchar(40), PARENT integer)");
        exec(query, "insert into CTAB values (1, 'Сервер', 'Компьютер', 1)");
        exec(query, "insert into CTAB values (10, 'Корпус А', 'Пульт M50', 1)");
        exec(query, "insert into CTAB values (11, 'Корпус Б', 'пульт m50', 1)");
        exec(query, "insert into CTAB values (12, 'Гараж', 'Пульт M60', 1)");

        ASSERT_TRUE(query.prepare("select count(*) cnt from ctab where n=:n and ctype='Пульт M50'"));
        for (const auto &[n, count] : {std::pair{10, 1}, std::pair{11, 0}, std::pair{12, 0}}) {
            query.bindValue(":n", n);
            ASSERT_TRUE(query.exec() && query.next()) << query.lastError().text().toStdString();
            EXPECT_EQ(query.value("cnt").toInt(), count) << "n=" << n;
        }

        exec(query, "SELECT CT.N AS NCT, C.OPIS AS PARCT FROM CTAB CT, CTAB C WHERE CT.PARENT=C.N AND "
                    "UPPER(CT.CTYPE)='ПУЛЬТ M50' ORDER BY CT.N");
        std::vector<int> panels;
        while (query.next()) {
            panels.push_back(query.value("NCT").toInt());
            EXPECT_EQ(query.value("PARCT").toString().toStdString(), "Сервер");
        }
        EXPECT_EQ(panels, (std::vector<int>{10, 11}));
    }
}

TEST_F(FirebirdSite, RefusedLoginsAndDatabasesCannotOpen) {
    const std::string file = server_->createDatabase("refused.fdb");
    const struct {
        const char *name;
        std::string database, storedUser, storedPassword;
    } cases[] = {
        {"credentials stored without inverting", file, FirebirdServer::kUser, server_->password()},
        {"wrong password", file, invertBytes(FirebirdServer::kUser), invertBytes("wrong")},
        {"no such database", "/nowhere/site.fdb", invertBytes(FirebirdServer::kUser), invertBytes(server_->password())},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        site_.aliases(alias(c.database));
        SiteFixture::storeRaw("SITE", c.storedUser, c.storedPassword);
        TSiteDatabaseError error;
        EXPECT_FALSE(OpenSiteDatabase("SITE", &error));
        EXPECT_EQ(error.kind, TSiteDatabaseFault::CannotOpen) << error.text;
        EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
    }
}

}  // namespace
}  // namespace zaltor::shell
