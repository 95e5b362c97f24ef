#include "platform/Registry.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "testsupport/TempDir.h"

using tessel::Hive;
using tessel::RegKey;

namespace {

class Registry : public ::testing::Test {
  protected:
    testsupport::IsolatedHost host;
    std::string userFile() const { return host.dir().read("user.reg"); }
};

TEST_F(Registry, EveryValueFormRoundTrips) {
    struct Case {
        const char *name;
        std::string bytes;
    } strings[] = {
        {"Empty", ""},
        {"Plain", "C:\\Tessel \"quoted\" text"},
        {"Cyrillic", "Пульт M50"},
        {"Inverted", std::string("\xAA\x8C\x9A\x8D", 4)},
        {"Zeros", std::string("a\0b\0", 4)},
        {"Lines", "one\r\ntwo\n"},
        {"Control", "\x01\x1F\x7F"},
        {"TrailingBackslash", "dir\\"},
        {"LongBinary", std::string(100, '\x05')},
    };
    {
        auto key = RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Forms", true);
        ASSERT_TRUE(key);
        for (const auto &c : strings) ASSERT_TRUE(key->writeString(c.name, c.bytes)) << c.name;
        ASSERT_TRUE(key->writeDword("Zero", 0));
        ASSERT_TRUE(key->writeDword("Max", 0xFFFFFFFFu));
    }
    auto key = RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Forms", false);
    ASSERT_TRUE(key);
    for (const auto &c : strings) EXPECT_EQ(key->readString(c.name), c.bytes) << c.name;
    EXPECT_EQ(key->readDword("Zero"), 0u);
    EXPECT_EQ(key->readDword("Max"), 0xFFFFFFFFu);
    EXPECT_EQ(key->valueNames().size(), std::size(strings) + 2);

    const std::string file = userFile();
    EXPECT_NE(file.find(R"("Plain"="C:\\Tessel \"quoted\" text")"), std::string::npos) << file;
    EXPECT_NE(file.find("\"Cyrillic\"=\"Пульт M50\""), std::string::npos);
    EXPECT_NE(file.find("\"Zeros\"=hex:61,00,62,00"), std::string::npos);
    EXPECT_NE(file.find("\"Max\"=dword:ffffffff"), std::string::npos);
}

TEST_F(Registry, OddKeyPathsAndNamesRoundTripOrAreRefused) {
    const char *paths[] = {"-Dash",       "HKCU\\Inner", "HKEY_USERS",
                           "[Bracketed]", "Tab\tKey",    "Cr\rKey"};
    const char *names[] = {"", "-", "@", "a\"b\\c", "x]=y", "Cr\r"};
    for (const char *path : paths) {
        auto key = RegKey::open(Hive::CurrentUser, path, true);
        ASSERT_TRUE(key) << path;
        for (const char *name : names) ASSERT_TRUE(key->writeString(name, path)) << name;
    }
    for (const char *path : paths) {
        auto key = RegKey::open(Hive::CurrentUser, path, false);
        ASSERT_TRUE(key) << path;
        EXPECT_EQ(key->valueNames().size(), std::size(names)) << path;
        for (const char *name : names)
            EXPECT_EQ(key->readString(name), path) << path << " " << name;
    }
    EXPECT_EQ(RegKey::open(Hive::CurrentUser, "", false)->subKeyNames().size(), std::size(paths));

    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "Line\nFeed", true));
    auto key = RegKey::open(Hive::CurrentUser, "-Dash", false);
    EXPECT_FALSE(key->writeDword("Line\nFeed", 1));
    // The root holds keys, not values.
    auto root = RegKey::open(Hive::CurrentUser, "\\", true);
    ASSERT_TRUE(root);
    EXPECT_FALSE(root->writeDword("V", 1));
    EXPECT_FALSE(root->writeString("V", "x"));
    EXPECT_TRUE(root->deleteSubKey("-Dash"));
    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "-Dash", false));
}

TEST_F(Registry, TypesDoNotCross) {
    auto key = RegKey::open(Hive::CurrentUser, "K", true);
    ASSERT_TRUE(key && key->writeDword("N", 7) && key->writeString("S", "7"));
    EXPECT_FALSE(key->readString("N"));
    EXPECT_FALSE(key->readDword("S"));
    EXPECT_FALSE(key->read("Missing"));
}

TEST_F(Registry, NamesCompareWithoutCaseAndKeepTheirSpelling) {
    {
        auto key = RegKey::open(Hive::CurrentUser, "\\Software\\Tessel\\Lintra\\Speeds\\", true);
        ASSERT_TRUE(key && key->writeDword("UseAutoSpeed", 1) && key->writeString("Имя", "x"));
    }
    auto key = RegKey::open(Hive::CurrentUser, "SOFTWARE\\\\tessel\\LINTRA\\speeds", false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readDword("useautospeed"), 1u);
    EXPECT_EQ(key->readString("иМЯ"), "x");
    ASSERT_TRUE(key->writeDword("USEAUTOSPEED", 0));
    EXPECT_EQ(key->valueNames(), (std::vector<std::string>{"UseAutoSpeed", "Имя"}));
    EXPECT_NE(userFile().find("[Software\\Tessel\\Lintra\\Speeds]"), std::string::npos);
    EXPECT_EQ(userFile().find("SOFTWARE"), std::string::npos);
    EXPECT_TRUE(RegKey::open(Hive::CurrentUser, "software\\tessel\\lintra", false));
}

TEST_F(Registry, KeysAreCreatedOnDemandAndDeletedWithTheirSubkeys) {
    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Logging", false));
    auto tessel = RegKey::open(Hive::CurrentUser, "Software\\Tessel", true);
    ASSERT_TRUE(tessel);
    ASSERT_TRUE(RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Logging\\Mode", true));
    ASSERT_TRUE(RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Lintra", true));
    tessel = RegKey::open(Hive::CurrentUser, "software\\tessel", false);
    EXPECT_EQ(tessel->subKeyNames(), (std::vector<std::string>{"Logging", "Lintra"}));

    auto logging = RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Logging", false);
    ASSERT_TRUE(logging && logging->writeDword("MaxLevel", 3));
    EXPECT_TRUE(logging->deleteSubKey("MODE"));
    EXPECT_TRUE(logging->deleteSubKey("NeverThere"));
    EXPECT_TRUE(logging->subKeyNames().empty());
    EXPECT_TRUE(logging->deleteValue("maxlevel"));
    EXPECT_FALSE(logging->readDword("MaxLevel"));
    // Removing the last subkey keeps its parent.
    EXPECT_TRUE(RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Logging", false));

    EXPECT_TRUE(tessel::deleteKey(Hive::CurrentUser, "Software\\Tessel"));
    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Lintra", false));
    EXPECT_TRUE(RegKey::open(Hive::CurrentUser, "Software", false));
    EXPECT_FALSE(tessel::deleteKey(Hive::CurrentUser, "\\"));
}

TEST_F(Registry, HivesAreSeparateFiles) {
    auto machine = RegKey::open(Hive::LocalMachine, "SOFTWARE\\Tessel\\CONFIG\\DEMO", true);
    ASSERT_TRUE(machine && machine->writeString("UserName", "u"));
    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "SOFTWARE\\Tessel\\CONFIG\\DEMO", false));
    EXPECT_NE(host.dir().read("machine.reg").find("\"UserName\"=\"u\""), std::string::npos);
}

TEST(RegistryFiles, UserHiveIsCreatedPrivateWithItsDirectories) {
    testsupport::TempDir dir;
    auto file = dir / "config/tessel/registry";
    testsupport::ScopedEnv user("TESSEL_USER_HIVE", file.string());
    auto key = RegKey::open(Hive::CurrentUser, "Software\\Tessel", true);
    ASSERT_TRUE(key && key->writeDword("V", 1));
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(RegistryFiles, HiveDefaultsFollowTheEnvironment) {
    testsupport::ScopedEnv noUser("TESSEL_USER_HIVE", "");
    testsupport::ScopedEnv noMachine("TESSEL_MACHINE_HIVE", "");
    testsupport::ScopedEnv home("HOME", "/home/eng");
    {
        testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(tessel::hiveFile(Hive::CurrentUser), "/xdg/tessel/registry");
    }
    testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", "");
    EXPECT_EQ(tessel::hiveFile(Hive::CurrentUser), "/home/eng/.config/tessel/registry");
    EXPECT_EQ(tessel::hiveFile(Hive::LocalMachine), "/etc/tessel/registry");
}

TEST(RegistryFiles, UnwritableHiveFailsCleanly) {
    testsupport::TempDir dir;
    dir.write("file", "not a directory");
    testsupport::ScopedEnv user("TESSEL_USER_HIVE", (dir / "file/registry").string());
    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "Software\\Tessel", true));
    EXPECT_FALSE(RegKey::open(Hive::CurrentUser, "Software\\Tessel", false));
}

}  // namespace
