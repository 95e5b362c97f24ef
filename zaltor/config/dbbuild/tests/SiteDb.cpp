#include "zaltor/config/dbbuild/tests/SiteDb.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace zaltor::dbbuild::tests {
namespace {

// The SQL drivers are plugins, which Qt loads only with an application object.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "zaltor_dbbuild_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

void unicodeUpper(sqlite3_context *context, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QByteArray upper =
        QString::fromUtf8(text, sqlite3_value_bytes(argv[0])).toUpper().toUtf8();
    sqlite3_result_text(context, upper.constData(), static_cast<int>(upper.size()),
                        SQLITE_TRANSIENT);
}

class SqliteSite : public SiteDb {
  public:
    SqliteSite() {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (!db.open()) {
            ADD_FAILURE() << "SQLite: " << db.lastError().text().toStdString();
            return;
        }
        sqlite3 *handle = *static_cast<sqlite3 *const *>(db.driver()->handle().constData());
        sqlite3_create_function_v2(handle, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   unicodeUpper, nullptr, nullptr, nullptr);
        QFile script(QStringLiteral(DBBUILD_SCHEMA_DIR "/schema-sqlite.sql"));
        if (!script.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read schema-sqlite.sql";
            return;
        }
        char *error = nullptr;
        if (sqlite3_exec(handle, script.readAll().constData(), nullptr, nullptr, &error) !=
            SQLITE_OK) {
            ADD_FAILURE() << "schema-sqlite.sql: " << error;
            sqlite3_free(error);
        }
    }
};

std::string orNull(std::optional<int> n) {
    return n ? std::to_string(*n) : "NULL";
}

}  // namespace

SiteDb::SiteDb() {
    static std::atomic<int> count{0};
    ensureApplication();
    name_ = QStringLiteral("site-%1").arg(++count);
}

SiteDb::~SiteDb() {
    db().close();
    QSqlDatabase::removeDatabase(name_);
}

void SiteDb::run(const std::vector<std::string> &statements) const {
    QSqlQuery query(db());
    for (const std::string &statement : statements)
        if (!query.exec(QString::fromStdString(statement)))
            ADD_FAILURE() << statement << ": " << query.lastError().text().toStdString();
}

std::unique_ptr<SiteDb> sqliteSite() {
    return std::make_unique<SqliteSite>();
}

std::string ctabRow(int n, std::optional<int> parent, const std::string &ctype,
                    const std::string &addr) {
    return "INSERT INTO CTAB (N, PARENT, CTYPE, ADDR) VALUES (" + std::to_string(n) + ", " +
           orNull(parent) + ", '" + ctype + "', " + addr + ")";
}

std::string sensorRow(int block, int inn, const std::string &values) {
    return "INSERT INTO SNSTAB (TCN, INN, GRD, NC, SHCONTR, DELAYSNS, DELAYSET, AUTOSET, "
           "ZONENUMBER) VALUES (" +
           std::to_string(block) + ", " + std::to_string(inn) + ", " + values + ")";
}

std::string channelRow(int n, int block, int outn, const std::string &values) {
    return "INSERT INTO DEVTAB (N, TCN, OUTN, CAN_ACTIVE, CAN_CONTROL, ZONENUMBER) VALUES (" +
           std::to_string(n) + ", " + std::to_string(block) + ", " + std::to_string(outn) + ", " +
           values + ")";
}

std::string clientRow(int n, const std::string &numKd) {
    return "INSERT INTO CLITAB (N, NUM_KD) VALUES (" + std::to_string(n) + ", " + numKd + ")";
}

std::string userRow(int panel, int client, const std::string &tcnN, const std::string &passw) {
    return "INSERT INTO PULTUSERS (TCN, CLI_N, TCN_N, PASSW) VALUES (" + std::to_string(panel) +
           ", " + std::to_string(client) + ", " + tcnN + ", " + passw + ")";
}

std::string sectionRow(int panel, int snumber, int zone) {
    return "INSERT INTO PULTSECTIONS (TCN, SNUMBER, N) VALUES (" + std::to_string(panel) + ", " +
           std::to_string(snumber) + ", " + std::to_string(zone) + ")";
}

}  // namespace zaltor::dbbuild::tests
