#include "bench/zaltor/DemoSite.h"

#include <stdexcept>

#include "bench/zaltor/SqlScript.h"
#include "platform/Registry.h"
#include "zaltor/shell/db/StoredCredentials.h"

namespace bench {

void loadDemoSite(const QSqlDatabase &db, const std::string &schemaFile) {
    runSqlScript(db, schemaFile);
    runSqlScript(db, DEMO_SITE_SQL);
}

DemoSite::DemoSite() : aliases_("TESSEL_ALIASES", (host_.dir() / "aliases.ini").string()) {
    const std::string path = (host_.dir() / "demo.db").string();
    host_.dir().write("aliases.ini", "[DEMO]\nDriver=STANDARD\nPath=" + path + "\n");
    alias_.name = "DEMO";
    alias_.driver = "STANDARD";
    alias_.path = path;
    auto key = tessel::RegKey::open(tessel::Hive::LocalMachine,
                                    zaltor::shell::credentialsKey("DEMO"), true);
    if (!key ||
        !key->writeString("UserName", zaltor::shell::invertBytes(login().userName.toStdString())) ||
        !key->writeString("Password", zaltor::shell::invertBytes(login().password.toStdString())))
        throw std::runtime_error("cannot store the credentials of DEMO");
    // The loader opens no missing file; an empty one is an empty SQLite database.
    host_.dir().write("demo.db", "");
    const zaltor::shell::TSiteDatabase site = openAlias(alias_, login());
    loadDemoSite(site.database(), SCHEMA_DIR "/schema-sqlite.sql");
}

const zaltor::shell::TDatabaseLogin &DemoSite::login() {
    static const zaltor::shell::TDatabaseLogin demo{QStringLiteral("demo"), QStringLiteral("demo")};
    return demo;
}

zaltor::shell::TSiteDatabase openAlias(const zaltor::shell::TAliasEntry &alias,
                                       const zaltor::shell::TDatabaseLogin &login) {
    zaltor::shell::TSiteDatabaseError error;
    auto site = zaltor::shell::OpenAliasDatabase(alias, login, &error);
    if (!site) throw std::runtime_error(alias.name + ": " + error.text);
    return std::move(*site);
}

}  // namespace bench
