// Runs the built tessel-reg against hives in a temporary directory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "testsupport/TempDir.h"

extern char **environ;

namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

class RegTool : public ::testing::Test {
  protected:
    testsupport::IsolatedHost host;

    ToolRun run(std::vector<std::string> args) {
        args.insert(args.begin(), TESSEL_REG_BINARY);
        std::vector<char *> argv;
        for (auto &a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const auto out = host.dir() / "stdout", err = host.dir() / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = 0;
        ToolRun r;
        int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) return r;
        int status = 0;
        waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = host.dir().read("stdout");
        r.err = host.dir().read("stderr");
        return r;
    }
};

TEST_F(RegTool, SetGetListDelete) {
    const std::string key = "Software\\Tessel\\Lintra\\Logging";
    EXPECT_EQ(run({"set", key, "Line0", "--dword", "0x64"}).status, 0);
    EXPECT_EQ(run({"set", key, "Note", "--string", "Пульт \"M50\""}).status, 0);
    EXPECT_EQ(run({"set", key, "Raw", "--hex", "00,ff,A"}).status, 0);
    EXPECT_EQ(run({"get", "software\\tessel\\lintra\\logging", "line0"}).out, "100\n");
    EXPECT_EQ(run({"get", key, "Note"}).out, "Пульт \"M50\"\n");
    EXPECT_EQ(run({"list", "Software\\Tessel"}).out,
              "[Software\\Tessel]\n\n[Software\\Tessel\\Lintra]\n\n"
              "[Software\\Tessel\\Lintra\\Logging]\n\"Line0\"=dword:00000064\n"
              "\"Note\"=\"Пульт \\\"M50\\\"\"\n\"Raw\"=hex:00,ff,0a\n\n");

    EXPECT_EQ(run({"delete", key, "Note"}).status, 0);
    EXPECT_EQ(run({"get", key, "Note"}).status, 1);
    EXPECT_EQ(run({"delete", key, "Note"}).status, 1);
    EXPECT_EQ(run({"delete", "Software\\Tessel"}).status, 0);
    ToolRun gone = run({"get", key, "Line0"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("no key"), std::string::npos);
    EXPECT_EQ(run({"list", "Software\\Tessel"}).status, 1);
    EXPECT_EQ(run({"delete", "Software\\Tessel"}).status, 1);
}

TEST_F(RegTool, InvertedCredentialsAreTheComplementOfEveryByte) {
    const std::string key = "\\SOFTWARE\\Tessel\\CONFIG\\DEMO";
    ASSERT_EQ(run({"--machine", "set", key, "UserName", "--string", "SYSDBA", "--inverted"}).status,
              0);
    ASSERT_EQ(run({"set", key, "Password", "--string", "пароль", "--inverted", "--machine"}).status,
              0);
    auto k = tessel::RegKey::open(tessel::Hive::LocalMachine, key, false);
    ASSERT_TRUE(k);
    EXPECT_EQ(k->readString("UserName"), "\xAC\xA6\xAC\xBB\xBD\xBE");
    std::string password = *k->readString("Password");
    for (char &c : password) c = static_cast<char>(~c);
    EXPECT_EQ(password, "пароль");
    EXPECT_EQ(run({"--machine", "get", key, "Password", "--inverted"}).out, "пароль\n");
    EXPECT_EQ(run({"get", key, "Password"}).status, 1) << "the user hive is the default";
}

TEST_F(RegTool, ImportSendsEachRootToItsHive) {
    auto file = host.dir().write("site.reg",
                                 "REGEDIT4\n\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessel\\CONFIG\\DEMO]\n"
                                 "\"UserName\"=\"u\"\n"
                                 "[HKEY_CURRENT_USER\\Software\\Tessel\\Lintra\\Speeds]\n"
                                 "\"UseAutoSpeed\"=dword:00000001\n"
                                 "\"Odd\"=hex(7):41,00,00,00,00,00\n"
                                 "[HKEY_CLASSES_ROOT\\.reg]\n"
                                 "\"NotOurs\"=\"y\"\n"
                                 "[Software\\Tessel\\Plain]\n"
                                 "\"V\"=dword:00000002\n"
                                 "\"Stale\"=-\n"
                                 "[-HKCU\\Software\\Tessel\\Old]\n"
                                 "\"AfterDeletion\"=dword:00000003\n");
    ASSERT_EQ(run({"set", "Software\\Tessel\\Old\\Sub", "X", "--dword", "1"}).status, 0);
    ASSERT_EQ(run({"set", "Software\\Tessel\\Plain", "Stale", "--dword", "1"}).status, 0);
    ASSERT_EQ(run({"set", "Software\\Tessel\\Lintra\\Speeds", "Line1", "--dword", "2"}).status, 0);
    ToolRun r = run({"import", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("skipped: \"Odd\"=hex(7)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("skipped: \"NotOurs\""), std::string::npos) << r.err;
    EXPECT_EQ(run({"--machine", "get", "SOFTWARE\\Tessel\\CONFIG\\DEMO", "UserName"}).out, "u\n");
    EXPECT_EQ(run({"get", "Software\\Tessel\\Lintra\\Speeds", "UseAutoSpeed"}).out, "1\n");
    EXPECT_EQ(run({"get", "Software\\Tessel\\Lintra\\Speeds", "Line1"}).out, "2\n");
    EXPECT_EQ(run({"get", "Software\\Tessel\\Plain", "V"}).out, "2\n");
    EXPECT_EQ(run({"--machine", "get", "Software\\Tessel\\Plain", "V"}).status, 1);
    EXPECT_EQ(run({"get", "Software\\Tessel\\Plain", "Stale"}).status, 1);
    EXPECT_EQ(run({"list", "Software\\Tessel\\Old"}).status, 1);
    EXPECT_NE(r.err.find("skipped: \"AfterDeletion\""), std::string::npos) << r.err;
    EXPECT_EQ(run({"import", (host.dir() / "missing.reg").string()}).status, 2);
}

TEST_F(RegTool, UsageErrorsExitTwoAndChangeNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"get", "K"},
        {"set", "K", "N"},
        {"set", "K", "N", "--dword", "4294967296"},
        {"set", "K", "N", "--dword", "-1"},
        {"set", "K", "N", "--dword", "12abc"},
        {"set", "K", "N", "--dword", "1", "--inverted"},
        {"set", "K", "N", "--hex", "1,2,"},
        {"set", "K", "N", "--hex", "100"},
        {"set", "K", "N", "--string", "a", "--dword", "1"},
        {"set", "K", "N", "--string"},
        {"set", "K", "Line\nFeed", "--dword", "1"},
        {"get", "K", "N", "--dword", "1"},
        {"list", "--inverted"},
        {"delete", "\\"},
        {"--bogus", "list"},
    };
    for (const auto &args : bad) {
        ToolRun r = run(args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << testing::PrintToString(args);
    }
    EXPECT_FALSE(std::filesystem::exists(host.dir() / "user.reg"));
    ToolRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("import FILE"), std::string::npos);
}

TEST_F(RegTool, WriteFailureExitsTwo) {
    host.dir().write("blocker", "");
    testsupport::ScopedEnv user("TESSEL_USER_HIVE", (host.dir() / "blocker/registry").string());
    ToolRun r = run({"set", "K", "N", "--dword", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

}  // namespace
