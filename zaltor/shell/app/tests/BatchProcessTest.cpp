// The zaltor program in batch mode against m50-sim on a pseudo-terminal, with the demo site in
// an SQLite database reached by alias: the write, the read-back check, a file round trip,
// every exit status a caller can meet, and SIGTERM in the middle of a write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"
#include "zaltor/shell/app/tests/ZaltorRun.h"

namespace zaltor::test {
namespace {

class BatchProcessTest : public ::testing::Test {
protected:
    BatchProcessTest() {
        const std::string db = (host_.dir() / "site.db").string();
        CreateSqliteSite(db);
        ::setenv("TESSEL_ALIASES", host_.dir().write("aliases.ini", "[DEMO]\nDriver=STANDARD\nPath=" + db + "\n").c_str(), 1);
        StoreCredentials("DEMO", "", "");
        // No pause after a good answer: a full write is 2186 commands.
        host_.dir().write("Zaltor.ini", "[PARAMS]\nSleepParam=0\n");
        MapPort("COM3", sim_.ready().substr(10));
        MapPort("COM4", "/nonexistent/tty");
    }
    ~BatchProcessTest() override { ::unsetenv("TESSEL_ALIASES"); }

    testsupport::IsolatedHost host_;
    sim::test::SimChild sim_{M50_SIM, {"--pty", "--panel", "5"}};
};

TEST_F(BatchProcessTest, WritesTheDemoPanelAndReadsBackWhatItWrote) {
    ASSERT_EQ(sim_.ready().rfind("ready pty ", 0), 0u) << sim_.ready();
    const Outcome run = Zaltor("--verify DEMO 1");
    EXPECT_EQ(run.status, 0) << run.tail();
    EXPECT_NE(run.err.find("verify: the panel holds what was written"), std::string::npos);

    const Outcome saved = Zaltor("--save panel.xml DEMO 1");
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(Zaltor("--load panel.xml DEMO 1").status, 0);
    std::ofstream("cut.xml") << FileText("panel.xml").substr(0, 4000);
    EXPECT_EQ(Zaltor("--load cut.xml DEMO 1").status, 1) << "an incomplete file is refused without --force";
}

TEST_F(BatchProcessTest, EveryRefusalHasItsExitStatus) {
    struct Case {
        const char *args;
        int status;
    };
    const Case cases[] = {
        {"--help", 0},   {"--version", 0}, {"DEMO", 2},       {"DEMO 1 2", 2}, {"DEMO x1", 2},
        {"NOSUCH 1", 3}, {"DEMO 101", 4},  {"DEMO 999", 4},   {"DEMO 2", 5},
    };
    std::ofstream("Zaltor.log").close();  // the diagnostic log is kept only when it exists
    for (const Case &c : cases) EXPECT_EQ(Zaltor(c.args).status, c.status) << c.args;
    EXPECT_NE(FileText("Zaltor.log").find("Инициализация СОМ порта COM4 Addr=7"), std::string::npos);

    // A library beside the program is taken even when it cannot be loaded.
    std::filesystem::create_directory("copy");
    std::filesystem::copy_file(ZALTOR, "copy/zaltor");
    std::ofstream("copy/liblintra.so") << "not a library";
    const int status = std::system("copy/zaltor DEMO 1 2> err.txt");
    EXPECT_EQ(WEXITSTATUS(status), 6);
    EXPECT_NE(FileText("err.txt").find("Ошибка инициализации lintra.dll"), std::string::npos);
}

TEST_F(BatchProcessTest, SigtermInTheMiddleOfAWriteClosesTheLineAndFails) {
    ASSERT_EQ(sim_.ready().rfind("ready pty ", 0), 0u) << sim_.ready();
    const pid_t child = ::fork();
    if (child == 0) {
        ::freopen("err.txt", "w", stderr);
        ::execl(ZALTOR, ZALTOR, "DEMO", "1", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    // Once the zone settings are being written the connection is up and the write under way.
    for (int i = 0; i < 3000 && FileText("err.txt").find("зон") == std::string::npos; ++i) ::usleep(10000);
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(FileText("err.txt").find("Операция прервана"), std::string::npos);
}

}  // namespace
}  // namespace zaltor::test
