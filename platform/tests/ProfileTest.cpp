#include "platform/Profile.h"

#include <gtest/gtest.h>

#include "testsupport/TempDir.h"

using tessel::Profile;

namespace {

const char *kDiscmd =
    "stray=before any section\n"
    "[LINE 7]\r\n"
    "  Disabled = FE-FF , 05 \r\n"
    "; Disabled=00\n"
    "disabled=10\n"
    "no equals sign here\n"
    "=no key\n"
    "[line7]\n"
    "Disabled=20\n"
    "[ Line0 ] trailing\n"
    "Empty=\n"
    "[Line 7]\n"
    "DISABLED=30\n";

TEST(Profile, SectionsKeepTheirNamesInFileOrder) {
    auto p = Profile::parse(kDiscmd);
    EXPECT_EQ(p.sectionNames(), (std::vector<std::string>{"LINE 7", "line7", "Line0"}));
}

TEST(Profile, SameSectionAnyCaseGivesAllItsLinesAndTheFirstValue) {
    auto p = Profile::parse(kDiscmd);
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(p.entries("line 7"),
              (Entries{{"Disabled", "FE-FF , 05"}, {"disabled", "10"}, {"DISABLED", "30"}}));
    EXPECT_EQ(p.value(" LINE 7 ", "DISABLED"), "FE-FF , 05");
    EXPECT_EQ(p.value("LINE7", "disabled"), "20");
    EXPECT_EQ(p.value("line0", "Empty"), "");
    EXPECT_FALSE(p.value("line0", "stray"));
    EXPECT_FALSE(p.value("LINE8", "Disabled"));
    EXPECT_EQ(p.value("LINE8", "Disabled", "none"), "none");
    EXPECT_TRUE(p.entries("nowhere").empty());
}

TEST(Profile, IntegersAsAProfileReaderTakesThem) {
    auto p = Profile::parse(
        "[N]\nplain=21302\nsigned=-5\nhex=0x1F\nzero=010\ncomment=10 ; seconds\n"
        "word=abc\nhuge=99999999999\nempty=\n");
    struct Case {
        const char *key;
        int expected;
    } cases[] = {{"plain", 21302}, {"signed", -5}, {"hex", 31},   {"zero", 10},   {"comment", 10},
                 {"word", -1},     {"huge", -1},   {"empty", -1}, {"missing", -1}};
    for (const auto &c : cases) EXPECT_EQ(p.intValue("n", c.key, -1), c.expected) << c.key;
}

TEST(Profile, AByteOrderMarkDoesNotHideTheFirstSection) {
    auto p = Profile::parse("\xEF\xBB\xBF[Driver1]\nType=NX\n");
    EXPECT_EQ(p.value("Driver1", "Type"), "NX");
}

TEST(Profile, LoadReadsAFileOrAnswersNothing) {
    testsupport::TempDir dir;
    auto file = dir.write("lintra.ini", "[Driver1]\nType=NX\n");
    auto p = Profile::load(file.string());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->value("DRIVER1", "type"), "NX");
    EXPECT_FALSE(Profile::load((dir / "missing.ini").string()));
}

}  // namespace
