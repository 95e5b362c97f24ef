#include "lintra/runtime/DisabledCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Profile.h"

namespace lintra {
namespace {

std::vector<int> Codes(const CommandRow &row) {
    std::vector<int> codes;
    for (int code = 0; code < 256; ++code) {
        if (row.test(static_cast<size_t>(code))) codes.push_back(code);
    }
    return codes;
}

std::vector<int> Range(int low, int high) {
    std::vector<int> codes;
    for (int code = low; code <= high; ++code) codes.push_back(code);
    return codes;
}

TEST(DisabledCommands, ListItems) {
    struct Case {
        const char *list;
        std::vector<int> codes;
    };
    std::vector<int> fiveAndRange = Range(0x10, 0x1F);
    fiveAndRange.insert(fiveAndRange.begin(), 0x05);
    const Case cases[] = {
        {"05, 10-1F", fiveAndRange},
        {"05,", {0x05}},               // a trailing separator makes no item
        {"fe", {0x00}},                // lower case: the code counts as 0
        {"FE-FF", {0xFE, 0xFF}},
        {"1F-10", {}},                 // high end below low end
        {"5 \t,, A", {0x05, 0x0A}},    // any run of separators
        {"123", {0x12}},               // only two characters are read
        {"1G", {0x01}},                // a second non-digit ends the code
        {"-02", {0x00, 0x01, 0x02}},   // an empty low end counts as 0
        {"", {}},
        {" , ", {}},
    };
    for (const Case &c : cases) {
        CommandRow row;
        ApplyDisabledList(c.list, row);
        EXPECT_EQ(Codes(row), c.codes) << '"' << c.list << '"';
    }
}

TEST(DisabledCommands, SectionNames) {
    struct Case {
        const char *name;
        std::optional<int> line;
    };
    const Case cases[] = {{"LINE0", 0},       {"line7", 7},         {" Line 12 ", 12}, {"LINE255", 255},
                          {"LINE256", {}},    {"LINE300", {}},      {"LINE", {}},      {"LINE-1", {}},
                          {"LINEX", {}},      {"LINE99999999999", {}}, {"OTHER1", {}}};
    for (const Case &c : cases) EXPECT_EQ(ParseLineSection(c.name), c.line) << c.name;
}

TEST(DisabledCommands, RowZeroAppliesToEveryLineAndOthersOnlyToTheirOwn) {
    DisabledCommands table;
    table.load(tessel::Profile::parse("[LINE0]\nDISABLED=05, 10-1F\n"
                                      "[line7]\nDISABLED = FE-FF\nOTHER=01\n"
                                      "[LINE300]\nDISABLED=33\n"));
    EXPECT_TRUE(table.isDisabled(9, 0x05));
    EXPECT_TRUE(table.isDisabled(0, 0x1F));
    EXPECT_TRUE(table.isDisabled(7, 0xFE));
    EXPECT_FALSE(table.isDisabled(8, 0xFE));
    EXPECT_FALSE(table.isDisabled(7, 0x01));  // entries other than DISABLED are ignored
    EXPECT_FALSE(table.isDisabled(44, 0x33));
    EXPECT_TRUE(table.isDisabled(300, 0x05));   // out-of-range line: row 0 still applies
    EXPECT_FALSE(table.isDisabled(300, 0xFE));
    table.clear();
    EXPECT_FALSE(table.isDisabled(9, 0x05));
}

}  // namespace
}  // namespace lintra
