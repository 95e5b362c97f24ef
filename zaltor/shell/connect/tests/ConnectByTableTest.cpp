// Finding a panel's connection in the site database (SQLite in memory, the few columns used).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "zaltor/shell/connect/ConnectByTable.h"
#include "zaltor/shell/connect/tests/EngineFixture.h"

namespace zaltor::shell {
namespace {

struct ConnectByTableTest : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "zaltor_connect_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }

    ConnectByTableTest() {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("connect-test"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        EXPECT_TRUE(db.open());
        run("CREATE TABLE CTAB (N INTEGER, PARENT INTEGER, ADDR INTEGER, CTYPE VARCHAR(40), PORT INTEGER, "
            "LINE INTEGER)");
        run("CREATE TABLE ETHERNETADTAB (CN INTEGER, IPADDR VARCHAR(40), SERVNAME VARCHAR(20))");
        run("INSERT INTO CTAB VALUES (1, NULL, NULL, 'ПК', NULL, NULL)");
        run("INSERT INTO CTAB VALUES (2, 1, NULL, 'ZIDI50', NULL, NULL)");
        run("INSERT INTO CTAB VALUES (3, 1, NULL, 'ZIDI50', NULL, NULL)");
        run("INSERT INTO ETHERNETADTAB VALUES (2, '10.0.0.5', '21302')");
        run("INSERT INTO CTAB VALUES (10, 1, -5, 'Пульт M50', 2, 3)");    // on a serial port
        run("INSERT INTO CTAB VALUES (11, 2, -6, 'Пульт M50', 1, 4)");    // behind a network controller
        run("INSERT INTO CTAB VALUES (12, 3, -7, 'Пульт M50', 4, 5)");    // its controller has no address row
        run("INSERT INTO CTAB VALUES (13, 99, -8, 'Пульт M50', 6, 7)");   // parent not in the table
        run("INSERT INTO CTAB VALUES (14, NULL, -9, 'Пульт M50', 8, 9)");  // no parent
    }

    ~ConnectByTableTest() override {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("connect-test"));
    }

    void run(const char *sql) { EXPECT_TRUE(QSqlQuery(db).exec(QString::fromUtf8(sql))) << sql; }

    QSqlDatabase db;
};

TEST_F(ConnectByTableTest, ValuesOfEachKindOfPanel) {
    struct Case {
        int panel;
        int line, address, port;
        const char *host, *networkPort;
    };
    const Case cases[] = {
        {10, 3, 5, 2, "", ""},
        {11, 4, 6, 1, "10.0.0.5", "21302"},
        {12, 5, 7, 4, "", ""},
        {13, 7, 8, 6, "", ""},
        {14, 9, 9, 8, "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.panel);
        const auto found = findPanelConnection(db, c.panel);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->line, c.line);
        EXPECT_EQ(found->address, c.address);
        EXPECT_EQ(found->portNumber, c.port);
        EXPECT_EQ(found->host, c.host);
        EXPECT_EQ(found->networkPort, c.networkPort);
        EXPECT_EQ(found->driverHandle, -1);
        EXPECT_EQ(found->lineId, -1);
    }
    EXPECT_FALSE(findPanelConnection(db, 42));
}

TEST_F(ConnectByTableTest, ADatabaseErrorFailsTheLookup) {
    run("DROP TABLE ETHERNETADTAB");
    EXPECT_FALSE(findPanelConnection(db, 11));
    EXPECT_TRUE(findPanelConnection(db, 10));  // the address table is only asked for behind a controller
    run("DROP TABLE CTAB");
    EXPECT_FALSE(findPanelConnection(db, 10));
}

TEST_F(ConnectByTableTest, ConnectsWithWhatItFound) {
    testing::EngineFixture f;
    PanelConnection connection;
    EXPECT_TRUE(connectByTable(f.ctx, db, 11, 0, nullptr, connection));
    EXPECT_EQ(f.panel.calls[0], "DriverCreate 1 HOST=10.0.0.5\r\nPORT=21302\r\nLogLevel=7\r\n");
    EXPECT_EQ(f.panel.calls[1], "DriverLineCreate 4 0 4 null");
    EXPECT_EQ(f.panel.calls[3], "StartPanel 4 LIN7 0 6");
    EXPECT_EQ(connection.driverHandle, 4);

    testing::EngineFixture unknown;
    EXPECT_FALSE(connectByTable(unknown.ctx, db, 42, 0, nullptr, connection));
    EXPECT_TRUE(unknown.panel.calls.empty());
    EXPECT_FALSE(connection.lineStarted);
}

}  // namespace
}  // namespace zaltor::shell
