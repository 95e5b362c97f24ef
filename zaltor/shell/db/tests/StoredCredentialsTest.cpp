#include "zaltor/shell/db/StoredCredentials.h"

#include <gtest/gtest.h>

#include "SiteFixture.h"

namespace zaltor::shell {
namespace {

using tessel::Hive;
using tessel::RegKey;

TEST(InvertBytes, ComplementsEveryByteAndUndoesItself) {
    const struct {
        std::string clear, stored;
    } cases[] = {
        {"", ""},
        {"A", "\xBE"},
        {"SYSDBA", "\xAC\xA6\xAC\xBB\xBD\xBE"},
        {std::string("\0", 1), "\xFF"},
        {"\xFF", std::string("\0", 1)},
        {"\xCF\xE0\xF0\xEE\xEB\xFC", "\x30\x1F\x0F\x11\x14\x03"},  // "Пароль" in Windows Cyrillic
    };
    for (const auto &c : cases) {
        EXPECT_EQ(invertBytes(c.clear), c.stored);
        EXPECT_EQ(invertBytes(c.stored), c.clear);
    }
}

TEST(StoredCredentials, ReadBackAsClearTextWhateverTheBytes) {
    SiteFixture site;
    const struct {
        std::string user, password;
    } cases[] = {
        {"SYSDBA", "masterkey"},
        {"", ""},
        {"\xC8\xED\xE6\xE5\xED\xE5\xF0", "\xEF\xE0\xF0\xEE\xEB\xFC"},  // Cyrillic in Windows Cyrillic
        {"u\xFFu", "\xFF"},  // 'я' is stored as a zero byte, which must not end the string
    };
    for (const auto &c : cases) {
        site.store("DEMO", c.user, c.password);
        std::string why;
        const auto read = readStoredCredentials("DEMO", &why);
        ASSERT_TRUE(read) << why;
        EXPECT_EQ(read->userName, c.user);
        EXPECT_EQ(read->password, c.password);
    }
}

TEST(StoredCredentials, KeyNameComparesWithoutCaseAndMissingValuesReadEmpty) {
    SiteFixture site;
    ASSERT_TRUE(RegKey::open(Hive::LocalMachine, "software\\tessel\\config\\demo", true));
    std::string why;
    const auto read = readStoredCredentials("DEMO", &why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->userName, "");
    EXPECT_EQ(read->password, "");
}

TEST(StoredCredentials, RefusedWithoutTheMachineKeyOrWithAValueOfAnotherType) {
    SiteFixture site;
    std::string why;
    EXPECT_FALSE(readStoredCredentials("DEMO", &why));
    EXPECT_NE(why.find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessel\\CONFIG\\DEMO"), std::string::npos) << why;

    SiteFixture::storeRaw("DEMO", invertBytes("u"), invertBytes("p"), Hive::CurrentUser);
    EXPECT_FALSE(readStoredCredentials("DEMO", &why)) << "the user hive is not where they are kept";

    site.store("DEMO");
    RegKey::open(Hive::LocalMachine, credentialsKey("DEMO"), false)->writeDword("Password", 7);
    why.clear();
    EXPECT_FALSE(readStoredCredentials("DEMO", &why));
    EXPECT_NE(why.find("Password"), std::string::npos) << why;
}

}  // namespace
}  // namespace zaltor::shell
