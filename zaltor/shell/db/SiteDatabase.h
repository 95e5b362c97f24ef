#pragma once
// The site database reached through an alias of aliases.ini: an SQLite file ("STANDARD"), a
// Firebird server ("INTRBASE") or Qt's OCI driver where installed ("ORACLE").
#include <optional>
#include <string>
#include <utility>

#include <QSqlDatabase>
#include <QString>

#include "zaltor/shell/db/AliasList.h"

namespace zaltor::shell {

// Why the site database cannot be reached. The batch program ends with status 3 on each.
enum class TSiteDatabaseFault {
    UnknownAlias,   // no aliases.ini defines the alias
    NoCredentials,  // the machine hive keeps no credentials for it; the database is not tried
    CannotOpen,     // the alias names no usable database, or the database refused the connection
};

struct TSiteDatabaseError {
    TSiteDatabaseFault kind = TSiteDatabaseFault::CannotOpen;
    std::string text;  // UTF-8, ready for a message box or standard error
};

struct TDatabaseLogin {
    QString userName;
    QString password;
};

// One open connection under a Qt connection name of its own, closed and removed when the
// object goes. Qt removes a connection cleanly only when nothing of it is left, so let every
// QSqlDatabase copied from database() and every query on it go first. Qt ties a connection to
// the thread that opened it, and loads its drivers only once a QCoreApplication exists.
class TSiteDatabase {
public:
    TSiteDatabase(TSiteDatabase &&other) noexcept;
    TSiteDatabase &operator=(TSiteDatabase &&other) noexcept;
    ~TSiteDatabase();

    QSqlDatabase database() const;
    const QString &connectionName() const { return name_; }
    const std::string &alias() const { return alias_; }

private:
    TSiteDatabase(QString name, std::string alias) : name_(std::move(name)), alias_(std::move(alias)) {}
    void release();

    QString name_;  // empty once moved from
    std::string alias_;
    friend std::optional<TSiteDatabase> OpenAliasDatabase(const TAliasEntry &, const TDatabaseLogin &,
                                                          TSiteDatabaseError *);
};

// The unattended connection: the alias looked up in aliasFiles(), the login from the
// credentials stored for it in the machine hive. On failure `error` tells why.
std::optional<TSiteDatabase> OpenSiteDatabase(const std::string &alias, TSiteDatabaseError *error);

// An alias's database with a login given by the caller (a login dialog); failures are CannotOpen.
std::optional<TSiteDatabase> OpenAliasDatabase(const TAliasEntry &alias, const TDatabaseLogin &login,
                                               TSiteDatabaseError *error);

}  // namespace zaltor::shell
