#pragma once
// Site databases for the build's tests, created from the schema scripts beside the build, and
// the rows the tests put into them.
#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zaltor::dbbuild::tests {

// A connection to a fresh site database, removed with the object.
class SiteDb {
  public:
    virtual ~SiteDb();
    SiteDb(const SiteDb &) = delete;
    SiteDb &operator=(const SiteDb &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }
    // Runs each statement in turn; a statement that fails fails the test with its message.
    void run(const std::vector<std::string> &statements) const;

  protected:
    SiteDb();
    QString name_;
};

// SQLite in memory from schema-sqlite.sql, with a Unicode UPPER as the loader's connection
// has (SQLite's own folds ASCII only).
std::unique_ptr<SiteDb> sqliteSite();

// A Firebird database file in a temporary directory, created from schema-firebird.sql by
// isql-fb and opened through the embedded engine, so no server is needed. Null, with the reason
// in whyNot, when this machine has no isql-fb, no QIBASE driver or no usable embedded engine.
std::unique_ptr<SiteDb> firebirdSite(std::string &whyNot);

// INSERT statements; the SQL arguments are written as in SQL ("NULL", "'12AB'").
std::string ctabRow(int n, std::optional<int> parent, const std::string &ctype,
                    const std::string &addr = "0");
// values: GRD, NC, SHCONTR, DELAYSNS, DELAYSET, AUTOSET, ZONENUMBER
std::string sensorRow(int block, int inn, const std::string &values);
// values: CAN_ACTIVE, CAN_CONTROL, ZONENUMBER
std::string channelRow(int n, int block, int outn, const std::string &values);
std::string clientRow(int n, const std::string &numKd);
std::string userRow(int panel, int client, const std::string &tcnN, const std::string &passw);
std::string sectionRow(int panel, int snumber, int zone);

}  // namespace zaltor::dbbuild::tests
