#include <cstdio>
#include <string>

#include "bench/zaltor/DemoSite.h"
#include "bench/zaltor/ImageBuilds.h"
#include "testsupport/FirebirdServer.h"

namespace bench {

void reportFirebirdBuilds() {
    if (const std::string why = testsupport::FirebirdServer::unavailable(); !why.empty()) {
        std::printf("  3) image from Firebird   skipped: %s\n", why.c_str());
        return;
    }
    testsupport::FirebirdServer server;
    zaltor::shell::TAliasEntry alias;
    alias.name = "DEMOFB";
    alias.driver = "INTRBASE";
    alias.server = server.server();
    alias.database = server.createDatabase("demo.fdb");
    const zaltor::shell::TSiteDatabase site =
        openAlias(alias, {QString::fromLatin1(testsupport::FirebirdServer::kUser),
                          QString::fromStdString(server.password())});
    loadDemoSite(site.database(), SCHEMA_DIR "/schema-firebird.sql");
    reportBuilds("Firebird", site.database(), "<= 300 ms");
}

}  // namespace bench
