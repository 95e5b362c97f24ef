#pragma once
// The demo's site as demo/run sets it up, in a scratch directory that is also the current
// directory and holds both settings hives: the SQLite database under alias DEMO with its
// credentials stored, built from the schema and demo/site.sql.
#include <string>

#include "testsupport/TempDir.h"
#include "zaltor/shell/db/SiteDatabase.h"

namespace bench {

// Throws std::runtime_error when the database cannot be made.
void loadDemoSite(const QSqlDatabase &db, const std::string &schemaFile);

class DemoSite {
  public:
    DemoSite();
    const testsupport::TempDir &dir() const { return host_.dir(); }
    const zaltor::shell::TAliasEntry &alias() const { return alias_; }
    static const zaltor::shell::TDatabaseLogin &login();

  private:
    testsupport::IsolatedHost host_;
    testsupport::ScopedEnv aliases_;
    zaltor::shell::TAliasEntry alias_;
};

// The alias's database, or std::runtime_error with why it cannot be opened.
zaltor::shell::TSiteDatabase openAlias(const zaltor::shell::TAliasEntry &alias,
                                       const zaltor::shell::TDatabaseLogin &login);

}  // namespace bench
