#include "zaltor/shell/db/SiteDatabase.h"

#include <atomic>
#include <filesystem>
#include <string_view>
#include <utility>

#include <QSqlError>
#include <QSqlQuery>

#include "platform/Cp1251.h"
#include "zaltor/shell/db/SqliteUpper.h"
#include "zaltor/shell/db/StoredCredentials.h"

namespace zaltor::shell {
namespace {

enum class Engine { Sqlite, Firebird, Oracle };

struct Backend {
    std::string_view aliasDriver;
    QString qtDriver;
    Engine engine;
};

const Backend *backendOf(const std::string &driver) {
    static const Backend backends[] = {
        {"STANDARD", QStringLiteral("QSQLITE"), Engine::Sqlite},
        {"INTRBASE", QStringLiteral("QIBASE"), Engine::Firebird},
        {"ORACLE", QStringLiteral("QOCI"), Engine::Oracle},
    };
    for (const auto &backend : backends)
        if (QString::fromStdString(driver).compare(QLatin1StringView(backend.aliasDriver), Qt::CaseInsensitive) == 0)
            return &backend;
    return nullptr;
}

QString newConnectionName() {
    static std::atomic<unsigned> next{0};
    return QStringLiteral("zaltor-site-%1").arg(++next);
}

std::optional<TSiteDatabase> fail(TSiteDatabaseError *error, TSiteDatabaseFault kind, const std::string &alias,
                                  const std::string &detail) {
    if (error) *error = {kind, "Не удается установить соединение с БД (Alias=" + alias + "): " + detail};
    return std::nullopt;
}

// What the alias lacks for its driver; empty when it names a database that may be tried.
std::string missingSetting(const TAliasEntry &alias, const Backend &backend) {
    if (backend.engine == Engine::Sqlite) {
        if (alias.path.empty()) return "не задан Path= (файл базы данных) в " + alias.file;
        if (!std::filesystem::is_regular_file(alias.path)) return "файл базы данных " + alias.path + " не найден";
    }
    if (backend.engine == Engine::Firebird && alias.database.empty())
        return "не задан Database= в " + alias.file;
    if (!QSqlDatabase::isDriverAvailable(backend.qtDriver))
        return "драйвер Qt " + backend.qtDriver.toStdString() + " не установлен";
    return {};
}

// Opens the connection registered as `name`; empty when it is open, otherwise why not. Every
// QSqlDatabase and query of it is gone when this returns, so the caller may remove it.
std::string connect(const QString &name, const TAliasEntry &alias, const Backend &backend,
                    const TDatabaseLogin &login) {
    QSqlDatabase db = QSqlDatabase::addDatabase(backend.qtDriver, name);
    switch (backend.engine) {
        case Engine::Sqlite:
            db.setDatabaseName(QString::fromStdString(alias.path));
            break;
        case Engine::Firebird:
            db.setHostName(QString::fromStdString(alias.server));
            db.setDatabaseName(QString::fromStdString(alias.database));
            break;
        case Engine::Oracle:
            db.setDatabaseName(QString::fromStdString(alias.server));  // a TNS name
            break;
    }
    db.setUserName(login.userName);
    db.setPassword(login.password);
    if (!db.open()) return db.lastError().text().toStdString();
    if (backend.engine != Engine::Sqlite) return {};
    if (!registerUnicodeUpper(db)) return "SQLite не принял функцию UPPER";
    // SQLite opens any file and reads it only at the first statement.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) return probe.lastError().text().toStdString();
    return {};
}

}  // namespace

TSiteDatabase::TSiteDatabase(TSiteDatabase &&other) noexcept
    : name_(std::exchange(other.name_, QString())), alias_(std::move(other.alias_)) {}

TSiteDatabase &TSiteDatabase::operator=(TSiteDatabase &&other) noexcept {
    if (this != &other) {
        release();
        name_ = std::exchange(other.name_, QString());
        alias_ = std::move(other.alias_);
    }
    return *this;
}

TSiteDatabase::~TSiteDatabase() { release(); }

void TSiteDatabase::release() {
    if (name_.isEmpty()) return;
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(std::exchange(name_, QString()));
}

QSqlDatabase TSiteDatabase::database() const { return QSqlDatabase::database(name_, false); }

std::optional<TSiteDatabase> OpenAliasDatabase(const TAliasEntry &alias, const TDatabaseLogin &login,
                                               TSiteDatabaseError *error) {
    const Backend *backend = backendOf(alias.driver);
    if (!backend)
        return fail(error, TSiteDatabaseFault::CannotOpen, alias.name,
                    "драйвер \"" + alias.driver + "\" не поддерживается (STANDARD, INTRBASE или ORACLE)");
    if (const std::string missing = missingSetting(alias, *backend); !missing.empty())
        return fail(error, TSiteDatabaseFault::CannotOpen, alias.name, missing);
    TSiteDatabase site(newConnectionName(), alias.name);
    if (const std::string refused = connect(site.name_, alias, *backend, login); !refused.empty())
        return fail(error, TSiteDatabaseFault::CannotOpen, alias.name, refused);
    return site;
}

std::optional<TSiteDatabase> OpenSiteDatabase(const std::string &alias, TSiteDatabaseError *error) {
    const TAliasList aliases = TAliasList::load(aliasFiles());
    const auto entry = aliases.find(alias);
    if (!entry) {
        std::string files;
        for (const auto &file : aliases.files()) files += (files.empty() ? "" : ", ") + file;
        return fail(error, TSiteDatabaseFault::UnknownAlias, alias, "alias не описан в " + files);
    }
    std::string why;
    const auto stored = readStoredCredentials(entry->name, &why);
    if (!stored) return fail(error, TSiteDatabaseFault::NoCredentials, alias, why);
    const TDatabaseLogin login{QString::fromStdString(tessel::cp1251ToUtf8(stored->userName)),
                               QString::fromStdString(tessel::cp1251ToUtf8(stored->password))};
    return OpenAliasDatabase(*entry, login, error);
}

}  // namespace zaltor::shell
