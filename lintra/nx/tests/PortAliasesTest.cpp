// The port alias table behind FindLineByPortName.
#include "lintra/nx/PortAliases.h"

#include <gtest/gtest.h>

#include <string>

namespace lintra::nx {
namespace {

class PortAliasesTest : public ::testing::Test {
protected:
    PortAliasesTest() { ClearPortAliases(); }
    ~PortAliasesTest() override { ClearPortAliases(); }
};

TEST_F(PortAliasesTest, SearchesFromTheLastEntryIgnoringCase) {
    ASSERT_TRUE(AddPortAlias("COM5", 1, 4));
    ASSERT_TRUE(AddPortAlias("Panel", 2, 5));
    ASSERT_TRUE(AddPortAlias("com5", 3, 5));
    struct Case {
        const char *name;
        int32_t handle;  // 0: not found
        int32_t type;
    };
    const Case cases[] = {
        {"COM5", 3, 5}, {"Com5", 3, 5}, {"PANEL", 2, 5}, {"panel", 2, 5},
        {"COM", 0, 0},  {"COM55", 0, 0}, {"", 0, 0},     {"LIN1", 0, 0},
    };
    for (const Case &c : cases) {
        const std::optional<NXLineRef> line = FindLineByPortName(c.name);
        ASSERT_EQ(line.has_value(), c.handle != 0) << c.name;
        if (!line) continue;
        EXPECT_EQ(line->lineHandle, c.handle) << c.name;
        EXPECT_EQ(line->lineType, c.type) << c.name;
    }
}

TEST_F(PortAliasesTest, HoldsAtMost101Entries) {
    for (int32_t i = 1; i <= kMaxPortAliases; ++i) ASSERT_TRUE(AddPortAlias("P" + std::to_string(i), i, 4));
    EXPECT_FALSE(AddPortAlias("Late", 200, 4));
    EXPECT_EQ(PortAliasCount(), 101);
    EXPECT_FALSE(FindLineByPortName("Late"));
    ClearPortAliases();
    EXPECT_EQ(PortAliasCount(), 0);
    EXPECT_FALSE(FindLineByPortName("P1"));
}

}  // namespace
}  // namespace lintra::nx
