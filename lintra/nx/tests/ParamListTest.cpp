#include "lintra/nx/ParamList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace lintra::nx {
namespace {

struct SplitCase {
    const char *text;
    std::vector<std::string> lines;
};

TEST(ParamListTest, SplitsAtEveryLineEnding) {
    const SplitCase cases[] = {
        {nullptr, {}},
        {"", {}},
        {"Port=21302", {"Port=21302"}},
        {"Host=a\r\nPort=1\r\n", {"Host=a", "Port=1"}},
        {"a=1\rb=2\nc=3", {"a=1", "b=2", "c=3"}},
        {"a=1\r\n\r\nb=2", {"a=1", "", "b=2"}},
        {"\r\n", {""}},
        {"a=1\n\r", {"a=1", ""}},
    };
    for (const SplitCase &c : cases) {
        const TParamList list = TParamList::FromText(c.text);
        EXPECT_EQ(list.Lines(), c.lines) << (c.text ? c.text : "(null)");
        EXPECT_EQ(TParamList::FromText(list.Text().c_str()).Lines(), c.lines);
    }
}

TEST(ParamListTest, TextEndsEveryLineWithCrLf) {
    EXPECT_EQ(TParamList::FromText("a=1\nb=2").Text(), "a=1\r\nb=2\r\n");
}

TEST(ParamListTest, KeysMatchWithoutCaseAndTheFirstLineWins) {
    const TParamList list = TParamList::FromText("no equals\r\n=orphan\r\nHOST=one=two\r\nhost=second\r\nEmpty=");
    EXPECT_EQ(list.Value("Host"), "one=two");
    EXPECT_EQ(list.Value("empty"), "");
    EXPECT_EQ(list.Value(""), "orphan");
    EXPECT_FALSE(list.Value("no equals"));
    EXPECT_FALSE(list.Value("Hos"));
}

TEST(ParamListTest, IntValueTakesDecimalIntegersOnly) {
    struct Case {
        const char *value;
        int32_t expected;
    };
    const Case cases[] = {
        {"7", 7},          {"-3", -3},        {"+15", 15},      {"0", 0},
        {"2147483647", INT32_MAX},            {"-2147483648", INT32_MIN},
        {"2147483648", -1}, {"", -1},         {"12x", -1},      {" 5", -1},
        {"5 ", -1},        {"+-5", -1},       {"+", -1},        {"$10", -1},
        {"0x10", -1},
    };
    for (const Case &c : cases) {
        const std::string text = std::string("LogLevel=") + c.value;
        EXPECT_EQ(TParamList::FromText(text.c_str()).IntValue("LOGLEVEL", -1), c.expected) << c.value;
    }
    EXPECT_EQ(TParamList().IntValue("LogLevel", 5), 5);
}

TEST(ParamListTest, LogTextMasksPasswords) {
    const TParamList list = TParamList::FromText("Host=a\r\npassword=secret\r\nPasswordHint=x");
    EXPECT_EQ(list.LogText(), "Host=a\r\npassword=***\r\nPasswordHint=x\r\n");
}

TEST(ParamListTest, MergeLetsTheOverrideWin) {
    struct Case {
        const char *list;
        const char *override;
        std::vector<std::string> merged;
    };
    const Case cases[] = {
        {"Host=a\nPort=21302", "PORT=5000", {"Host=a", "PORT=5000"}},
        {"Host=a", "Port=5000\nHost=b", {"Host=b", "Port=5000"}},
        {"Port=1\nport=2", "Port=3", {"Port=3", "port=2"}},  // the first line with the key
        {"", "Host=x\nHost=y", {"Host=y"}},                  // the later override line wins
        {"Port=1", "no equals\n=5\n", {"Port=1"}},           // lines without a key are skipped
        {"Port=1", "Port=", {"Port="}},
        {"Port=1", "", {"Port=1"}},
    };
    for (const Case &c : cases) {
        TParamList list = TParamList::FromText(c.list);
        list.Merge(TParamList::FromText(c.override));
        EXPECT_EQ(list.Lines(), c.merged) << c.list << " + " << c.override;
    }
}

}  // namespace
}  // namespace lintra::nx
