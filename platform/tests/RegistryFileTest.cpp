// Hive files written by hand, exported from Windows, damaged or cut short.
#include <gtest/gtest.h>

#include "platform/RegImport.h"
#include "platform/Registry.h"
#include "testsupport/TempDir.h"

using tessel::Hive;
using tessel::RegKey;

namespace {

std::string utf16le(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

class RegistryFile : public ::testing::Test {
  protected:
    testsupport::IsolatedHost host;
    void hive(const std::string &text) { host.dir().write("user.reg", text); }
    std::string hive() const { return host.dir().read("user.reg"); }
    std::optional<RegKey> key(const char *path) {
        return RegKey::open(Hive::CurrentUser, path, false);
    }
};

TEST_F(RegistryFile, ReadsAWindowsExportInUtf16) {
    hive(
        utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                u"[HKEY_CURRENT_USER\\Software\\Tessel\\Old]\r\n\"Stale\"=dword:00000001\r\n\r\n"
                u"[HKEY_CURRENT_USER\\Software\\Tessel\\Lintra\\Logging]\r\n"
                u"\"Line0\"=dword:00000064\r\n"
                u"\"Gone\"=\"x\"\r\n"
                u"\"Path\"=\"C:\\\\Tessel\\\\Лог\"\r\n"
                u"\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,1f,04,30,04,\\\r\n"
                u"  3f,04,3a,04,30,04,00,00\r\n"
                u"\"Wide\"=hex(1):41,00,3d,d8,00,de,00,00\r\n"
                u"\"Level\"=hex(4):10,10,00,00\r\n"
                u"\"Bytes\"=hex:00,ff\r\n"
                u"\"Gone\"=-\r\n\r\n"
                u"[-HKEY_CURRENT_USER\\Software\\Tessel\\Old]\r\n"
                u"[HKLM\\SOFTWARE\\Tessel\\CONFIG\\DEMO]\r\n\"UserName\"=\"\u00AA\"\r\n"));
    auto k = key("Software\\Tessel\\Lintra\\Logging");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->readDword("Line0"), 100u);
    EXPECT_EQ(k->readString("Path"), "C:\\Tessel\\Лог");
    EXPECT_EQ(k->readString("Expand"), "%TEMP%\\Папка");
    EXPECT_EQ(k->readString("Wide"), "A\U0001F600");
    EXPECT_EQ(k->readDword("Level"), 0x1010u);
    EXPECT_EQ(k->readString("Bytes"), std::string("\0\xFF", 2));
    EXPECT_FALSE(k->read("Gone"));
    EXPECT_FALSE(key("Software\\Tessel\\Old"));
    // A hive file holds one hive: the root of a header is dropped.
    EXPECT_TRUE(key("SOFTWARE\\Tessel\\CONFIG\\DEMO"));

    // Rewritten in our own form, it keeps every value.
    ASSERT_TRUE(k->writeDword("Line1", 2));
    EXPECT_TRUE(hive().starts_with("REGEDIT4\n")) << hive();
    k = key("Software\\Tessel\\Lintra\\Logging");
    EXPECT_EQ(k->readString("Expand"), "%TEMP%\\Папка");
    EXPECT_EQ(k->valueNames().size(), 7u);
}

TEST_F(RegistryFile, ImportedWideCredentialsGetTheirInvertedBytesBack) {
    // "dig" inverted is 9B 96 98, which Windows shows as U+203A U+2013 U+0098.
    auto result =
        tessel::importRegText(utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                      u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessel\\CONFIG\\DEMO]\r\n"
                                      u"\"UserName\"=\"\u203A\u2013\u0098\"\r\n"
                                      u"\"Password\"=hex(1):3a,20,00,00\r\n"
                                      u"\"Comment\"=\"\u203A\"\r\n"),
                              Hive::CurrentUser);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.values, 3);
    auto k = RegKey::open(Hive::LocalMachine, "SOFTWARE\\Tessel\\CONFIG\\DEMO", false);
    ASSERT_TRUE(k);
    EXPECT_EQ(k->readString("UserName"), "\x9B\x96\x98");
    EXPECT_EQ(k->readString("Password"), "\x9B");
    EXPECT_EQ(k->readString("Comment"), "\u203A") << "only the credentials are 8-bit";
}

TEST_F(RegistryFile, UnparsedLinesSurviveWritesWhereTheyStood) {
    std::string binary = "x";
    for (int b = 0; b < 256; ++b)
        if (b != '\n') binary += static_cast<char>(b);
    const std::string lines[] = {
        "junk before any key",       "\"Bad\"=dword:xyz",
        "this line is garbage\r",    "\"Cut\"=\"no closing quote",
        "\"Short\"=dword:1",         "\"Multi\"=hex(7):41,00,00,00,00,00",
        "@=\"default value\"",       binary,
        "[HKEY_CLASSES_ROOT\\.reg]", "\"NotOurs\"=\"y\"",
    };
    hive(lines[0] + "\n[Software\\Tessel\\Lintra]\n\"Good\"=dword:00000001\n" + lines[1] + "\n" +
         lines[2] + "\n" + lines[3] + "\n" + lines[4] + "\n[Software\\Tessel\\Other]\n" + lines[5] +
         "\n" + lines[6] + "\n" + lines[7] + "\n" + lines[8] + "\n" + lines[9] + "\n");

    auto k = key("Software\\Tessel\\Lintra");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->valueNames(), std::vector<std::string>{"Good"});
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(k->writeDword("New" + std::to_string(round), 5));
        const std::string text = hive();
        for (const auto &line : lines) {
            auto at = text.find(line + "\n");
            ASSERT_NE(at, std::string::npos) << line;
            EXPECT_EQ(text.find(line + "\n", at + 1), std::string::npos) << "doubled: " << line;
        }
        auto lintra = text.find("[Software\\Tessel\\Lintra]");
        auto other = text.find("[Software\\Tessel\\Other]");
        EXPECT_LT(text.find(lines[0]), lintra);
        EXPECT_GT(text.find(lines[2]), lintra);
        EXPECT_LT(text.find(lines[4]), other);
        EXPECT_GT(text.find(lines[5]), other);
    }
    k = key("Software\\Tessel\\Lintra");
    EXPECT_EQ(k->readDword("Good"), 1u);
    EXPECT_EQ(k->readDword("New1"), 5u);
    // The values of a foreign root are kept, not taken for the key before them.
    EXPECT_FALSE(key("Software\\Tessel\\Other")->read("NotOurs"));
}

TEST_F(RegistryFile, ValuesCutShortAreMissingNotWrong) {
    struct Case {
        const char *tail;
    } cases[] = {
        {"\"V\"=dword:0000006"},
        {"\"V\"=dword:"},
        {"\"V\"=\"tex"},
        {"\"V\"=hex:01,0"},
        {"\"V\"=hex:01,"},
        {"\"V\"=hex:01,\\"},
        {"\"V"},
        {"\"V\"=hex(2):41,00,\\\n  4"},
    };
    for (const auto &c : cases) {
        hive(std::string("[K]\n\"A\"=dword:00000001\n") + c.tail);
        auto k = key("K");
        ASSERT_TRUE(k) << c.tail;
        EXPECT_EQ(k->readDword("A"), 1u) << c.tail;
        EXPECT_FALSE(k->read("V")) << c.tail;
    }
}

TEST_F(RegistryFile, ADanglingContinuationTakesNoLaterLineAlong) {
    hive("[A]\n\"Cut\"=hex:01,\\");
    auto a = key("A");
    ASSERT_TRUE(a && a->writeDword("New", 1));
    ASSERT_TRUE(RegKey::open(Hive::CurrentUser, "B", true)->writeDword("V", 2));
    EXPECT_EQ(key("A")->readDword("New"), 1u);
    EXPECT_EQ(key("B")->readDword("V"), 2u);
    EXPECT_NE(hive().find("\"Cut\"=hex:01,\\\n"), std::string::npos) << hive();
}

TEST_F(RegistryFile, ValuesAfterAKeyDeletionStayWithNoKey) {
    hive("[A]\n\"X\"=dword:00000001\n[B]\n[-B]\n\"Y\"=dword:00000002\n");
    ASSERT_FALSE(key("B"));
    auto a = key("A");
    ASSERT_TRUE(a && a->writeDword("Z", 3));
    EXPECT_FALSE(key("A")->read("Y"));
    EXPECT_NE(hive().find("\"Y\"=dword:00000002"), std::string::npos);
    ASSERT_TRUE(RegKey::open(Hive::CurrentUser, "B", true));
    EXPECT_TRUE(key("B"));
}

}  // namespace
