// zaltor --verify against m50-sim holding the demo site's smallest panel (3: address 2 on
// COM5): a zone write the panel acknowledges but drops is found by the read-back, and the same
// batch write reads the site from a database on a private Firebird server.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"
#include "zaltor/shell/app/tests/ZaltorRun.h"
#ifdef ZALTOR_FIREBIRD_TESTS
#include "testsupport/FirebirdServer.h"
#include "zaltor/shell/db/StoredCredentials.h"
#endif

namespace zaltor::test {
namespace {

// The lines the read-back check wrote to the log.
std::vector<std::string> VerifyLines(const std::string &log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("verify: ")) lines.push_back(line);
    return lines;
}

class VerifyProcessTest : public ::testing::Test {
protected:
    VerifyProcessTest() {
        // One write and one read-back of the panel is some 2200 commands.
        host_.dir().write("Zaltor.ini", "[PARAMS]\nSleepParam=0\n");
        MapPort("COM5", sim_.ready().substr(10));
    }
    void UseAlias(const std::string &section) { host_.dir().write("aliases.ini", section); }
    std::string Control(const std::string &command) { return sim_.command(control_, command); }

    testsupport::IsolatedHost host_;
    testsupport::ScopedEnv aliases_{"TESSEL_ALIASES", (host_.dir() / "aliases.ini").string()};
    const std::string control_ = (host_.dir() / "sim.sock").string();
    sim::test::SimChild sim_{M50_SIM, {"--pty", "--panel", "2", "--control", control_}};
};

TEST_F(VerifyProcessTest, AZoneWriteThePanelDroppedIsListedAndFailsTheRun) {
    ASSERT_EQ(sim_.ready().rfind("ready pty ", 0), 0u) << sim_.ready();
    const std::string db = (host_.dir() / "site.db").string();
    CreateSqliteSite(db);
    UseAlias("[DEMO]\nDriver=STANDARD\nPath=" + db + "\n");
    StoreCredentials("DEMO", "", "");
    ASSERT_EQ(Control("fault 2 drop-write 0x52 times 1"), "ok");

    const Outcome run = Zaltor("--verify DEMO 3");
    EXPECT_EQ(run.status, 1) << run.tail();
    // The first zone written is slot 1 (inverted, short-circuit control); only it differs.
    const std::vector<std::string> lines = VerifyLines(run.err);
    ASSERT_GE(lines.size(), 2u) << run.tail();
    for (size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i].rfind("verify: zone slot 1: ", 0), 0u) << lines[i];
    EXPECT_EQ(lines.back(), "verify: " + std::to_string(lines.size() - 1) + " differences");
}

#ifdef ZALTOR_FIREBIRD_TESTS
using testsupport::FirebirdServer;

// Runs a script with isql-fb in `database` on `server`; its output lands in isql.txt.
bool Isql(const FirebirdServer &server, const std::string &database, const std::string &script) {
    const std::string command = "isql-fb -q -b -ch UTF8 -user " + std::string(FirebirdServer::kUser) + " -password '" +
                                server.password() + "' '" + server.server() + ":" + database + "' -i '" + script +
                                "' > isql.txt 2>&1";
    return std::system(command.c_str()) == 0;
}

TEST_F(VerifyProcessTest, WritesThePanelFromASiteOnAFirebirdServer) {
    if (const std::string why = FirebirdServer::unavailable(); !why.empty()) GTEST_SKIP() << why;
    if (std::system("command -v isql-fb > /dev/null") != 0) GTEST_SKIP() << "no isql-fb";
    ASSERT_EQ(sim_.ready().rfind("ready pty ", 0), 0u) << sim_.ready();
    FirebirdServer server;
    const std::string database = server.createDatabase("site.fdb");
    ASSERT_TRUE(Isql(server, database, SCHEMA_FIREBIRD_SQL)) << FileText("isql.txt");
    // isql runs the statements in a transaction of its own; BEGIN is SQLite's way to open one.
    std::string site = FileText(SITE_SQL);
    const size_t begin = site.find("\nBEGIN;\n");
    ASSERT_NE(begin, std::string::npos);
    site.erase(begin + 1, 7);
    ASSERT_TRUE(Isql(server, database, host_.dir().write("site-firebird.sql", site).string())) << FileText("isql.txt");

    UseAlias("[FBDEMO]\nDriver=INTRBASE\nServer=" + server.server() + "\nDatabase=" + database + "\n");
    StoreCredentials("FBDEMO", shell::invertBytes(FirebirdServer::kUser), shell::invertBytes(server.password()));
    const Outcome run = Zaltor("--verify FBDEMO 3");
    EXPECT_EQ(run.status, 0) << run.tail();
    EXPECT_NE(run.err.find("verify: the panel holds what was written"), std::string::npos) << run.tail();
}
#endif

}  // namespace
}  // namespace zaltor::test
