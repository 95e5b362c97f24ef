#include "zaltor/shell/db/AliasList.h"

#include <gtest/gtest.h>

#include "testsupport/TempDir.h"

namespace zaltor::shell {
namespace {

using testsupport::ScopedEnv;
using testsupport::TempDir;
using Files = std::vector<std::string>;

TEST(AliasFiles, NamedFileAloneOtherwiseUserFileThenMachineFile) {
    struct Case {
        const char *aliases, *xdg, *home;
        Files expected;
    } cases[] = {
        {"/site/aliases.ini", "/xdg", "/home/u", {"/site/aliases.ini"}},
        {"", "/xdg", "/home/u", {"/xdg/tessel/aliases.ini", "/etc/tessel/aliases.ini"}},
        {"", "", "/home/u", {"/home/u/.config/tessel/aliases.ini", "/etc/tessel/aliases.ini"}},
    };
    for (const auto &c : cases) {
        ScopedEnv aliases("TESSEL_ALIASES", c.aliases), xdg("XDG_CONFIG_HOME", c.xdg), home("HOME", c.home);
        EXPECT_EQ(aliasFiles(), c.expected) << "TESSEL_ALIASES=" << c.aliases << " XDG_CONFIG_HOME=" << c.xdg;
    }
}

TEST(AliasList, FirstFileDefiningAnAliasWinsWhole) {
    TempDir dir;
    const auto user = dir.write("user/aliases.ini", "[DEMO]\nDriver=STANDARD\nPath=/site/demo.sqlite\n");
    const auto machine = dir.write("etc/aliases.ini",
                                   "[demo]\nDriver=INTRBASE\nServer=db.site\nDatabase=/db/site.fdb\n"
                                   "[PLANT]\nDriver=INTRBASE\nServer=db.site\nDatabase=/db/plant.fdb\n");
    const auto missing = (dir / "none/aliases.ini").string();
    const auto list = TAliasList::load({missing, user.string(), machine.string()});

    EXPECT_EQ(list.files(), (Files{missing, user.string(), machine.string()}));
    EXPECT_EQ(list.names(), (Files{"DEMO", "PLANT"}));
    const auto demo = list.find("Demo");
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->driver, "STANDARD");
    EXPECT_EQ(demo->path, "/site/demo.sqlite");
    EXPECT_EQ(demo->server, "") << "no key of the machine file's DEMO leaks into the user file's";
    EXPECT_EQ(demo->file, user.string());
    const auto plant = list.find("PLANT");
    ASSERT_TRUE(plant);
    EXPECT_EQ(plant->server, "db.site");
    EXPECT_EQ(plant->database, "/db/plant.fdb");
    EXPECT_FALSE(list.find("OFFICE"));
}

TEST(AliasList, ReadsAProfileAndResolvesPathBesideTheFile) {
    TAliasList list;
    list.add("; site aliases\n"
             "[ Relative ]\n  driver =  STANDARD  \nPATH=db/site.sqlite\nPath=ignored.sqlite\n"
             "[Up]\nDriver=STANDARD\nPath=../shared/site.sqlite\n"
             "[Absolute]\nDriver=STANDARD\nPath=/var/site.sqlite\n"
             "[ЗАВОД]\nDriver=STANDARD\nPath=/var/plant.sqlite\n"
             "[Empty]\n",
             "/srv/tessel/aliases.ini");
    const struct {
        const char *alias, *driver, *path;
    } cases[] = {
        {"relative", "STANDARD", "/srv/tessel/db/site.sqlite"},
        {"UP", "STANDARD", "/srv/shared/site.sqlite"},
        {"absolute", "STANDARD", "/var/site.sqlite"},
        {"завод", "STANDARD", "/var/plant.sqlite"},
        {"Empty", "", ""},
    };
    for (const auto &c : cases) {
        const auto entry = list.find(c.alias);
        ASSERT_TRUE(entry) << c.alias;
        EXPECT_EQ(entry->driver, c.driver) << c.alias;
        EXPECT_EQ(entry->path, c.path) << c.alias;
    }
}

// The alias names a key below SOFTWARE\Tessel\CONFIG: an empty name would name CONFIG itself
// and a backslash another key.
TEST(AliasList, SectionsThatWouldNameAnotherKeyAreNoAliases) {
    TAliasList list;
    list.add("[]\nDriver=STANDARD\n[DEMO\\..\\OTHER]\nDriver=STANDARD\n[\\DEMO]\nDriver=STANDARD\n[DEMO]\nDriver=STANDARD\n",
             "/etc/tessel/aliases.ini");
    EXPECT_EQ(list.names(), (Files{"DEMO"}));
    EXPECT_FALSE(list.find(""));
    EXPECT_FALSE(list.find("DEMO\\..\\OTHER"));
}

}  // namespace
}  // namespace zaltor::shell
