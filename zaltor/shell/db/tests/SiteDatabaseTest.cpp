#include "zaltor/shell/db/SiteDatabase.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <filesystem>

#include "SiteFixture.h"

namespace zaltor::shell {
namespace {

using Fault = TSiteDatabaseFault;

// Qt's warnings while a test runs, such as the one removeDatabase gives for a connection
// still in use.
class QtWarnings {
public:
    QtWarnings() { previous_ = qInstallMessageHandler(&QtWarnings::collect); }
    ~QtWarnings() { qInstallMessageHandler(previous_); }
    static QStringList &seen() {
        static QStringList messages;
        return messages;
    }

private:
    static void collect(QtMsgType, const QMessageLogContext &, const QString &text) { seen() << text; }
    QtMessageHandler previous_;
};

// A loopback port nobody listens on: the kernel gave it out and it was closed again.
uint16_t closedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

TEST(OpenSiteDatabase, EachFaultHasItsKindAndSaysWhat) {
    const struct Case {
        const char *name;
        std::string aliases;  // $DIR stands for the test's folder
        bool credentials;
        Fault kind;
        std::string says;
    } cases[] = {
        {"alias in no file", "[OTHER]\nDriver=STANDARD\nPath=$DIR/site.sqlite\n", true, Fault::UnknownAlias,
         "$DIR/aliases.ini"},
        {"no credentials key; the database is not tried", "[DEMO]\nDriver=STANDARD\nPath=$DIR/none.sqlite\n", false,
         Fault::NoCredentials, "SOFTWARE\\Tessel\\CONFIG\\DEMO"},
        {"driver of another engine", "[DEMO]\nDriver=PARADOX\nPath=$DIR/site.sqlite\n", true, Fault::CannotOpen,
         "PARADOX"},
        {"SQLite without a file name", "[DEMO]\nDriver=STANDARD\n", true, Fault::CannotOpen, "Path="},
        {"SQLite file missing", "[DEMO]\nDriver=STANDARD\nPath=$DIR/none.sqlite\n", true, Fault::CannotOpen,
         "$DIR/none.sqlite"},
        {"SQLite file that is no database", "[DEMO]\nDriver=STANDARD\nPath=$DIR/aliases.ini\n", true,
         Fault::CannotOpen, "not a database"},
        {"server without a database", "[DEMO]\nDriver=INTRBASE\nServer=127.0.0.1\n", true, Fault::CannotOpen,
         "Database="},
        {"server that does not answer",
         "[DEMO]\nDriver=INTRBASE\nServer=127.0.0.1/" + std::to_string(closedPort()) + "\nDatabase=/db/site.fdb\n",
         true, Fault::CannotOpen, "127.0.0.1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SiteFixture site;
        const std::string dir = site.dir.path().string();
        auto expand = [&](std::string text) {
            for (size_t at; (at = text.find("$DIR")) != std::string::npos;) text.replace(at, 4, dir);
            return text;
        };
        site.aliases(expand(c.aliases));
        if (c.credentials) site.store("DEMO");
        TSiteDatabaseError error;
        EXPECT_FALSE(OpenSiteDatabase("DEMO", &error));
        EXPECT_EQ(error.kind, c.kind);
        EXPECT_NE(error.text.find("Alias=DEMO"), std::string::npos) << error.text;
        EXPECT_NE(error.text.find(expand(c.says)), std::string::npos) << error.text;
        EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty()) << "a failed open leaves no connection behind";
        EXPECT_FALSE(std::filesystem::exists(dir + "/none.sqlite")) << "opening never creates a database";
    }
}

TEST(OpenSiteDatabase, OracleNeedsQtsOciDriver) {
    if (QSqlDatabase::isDriverAvailable("QOCI")) GTEST_SKIP() << "Qt's OCI driver is installed here";
    SiteFixture site;
    site.aliases("[DEMO]\nDriver=ORACLE\nServer=SITE\n");
    site.store("DEMO");
    TSiteDatabaseError error;
    EXPECT_FALSE(OpenSiteDatabase("DEMO", &error));
    EXPECT_EQ(error.kind, Fault::CannotOpen);
    EXPECT_NE(error.text.find("QOCI"), std::string::npos) << error.text;
}

TEST(OpenSiteDatabase, EveryOpenIsAConnectionOfItsOwnRemovedCleanlyWhenItGoes) {
    SiteFixture site;
    site.dir.write("db/site.sqlite", "");  // SQLite takes an empty file as an empty database
    site.aliases("[DEMO]\nDriver=standard\nPath=db/site.sqlite\n");
    site.store("DEMO");
    TSiteDatabaseError error;
    auto first = OpenSiteDatabase("demo", &error);
    ASSERT_TRUE(first) << error.text;
    auto second = OpenSiteDatabase("DEMO", &error);
    ASSERT_TRUE(second) << error.text;
    const QString firstName = first->connectionName();
    const QString secondName = second->connectionName();
    EXPECT_NE(firstName, secondName);
    EXPECT_EQ(first->alias(), "DEMO");
    EXPECT_EQ(first->database().databaseName().toStdString(), (site.dir / "db/site.sqlite").string());
    {
        QSqlQuery write(first->database());
        ASSERT_TRUE(write.exec("create table t (v integer)")) << write.lastError().text().toStdString();
        ASSERT_TRUE(write.exec("insert into t values (7)"));
        QSqlQuery read(second->database());
        ASSERT_TRUE(read.exec("select v from t") && read.next()) << read.lastError().text().toStdString();
        EXPECT_EQ(read.value(0).toInt(), 7);
    }
    QtWarnings warnings;
    TSiteDatabase moved = std::move(*first);
    first.reset();  // a moved-from object removes nothing
    EXPECT_TRUE(QSqlDatabase::contains(firstName));
    moved = std::move(*second);  // the connection it held goes
    EXPECT_FALSE(QSqlDatabase::contains(firstName));
    EXPECT_TRUE(moved.database().isOpen());
    second.reset();
    { TSiteDatabase last = std::move(moved); }
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
    EXPECT_TRUE(QtWarnings::seen().isEmpty()) << QtWarnings::seen().join('\n').toStdString();
}

}  // namespace
}  // namespace zaltor::shell
