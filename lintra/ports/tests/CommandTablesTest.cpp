#include "lintra/ports/CommandTables.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <numeric>
#include <vector>

#include "lintra/ports/tests/FrameFixtures.h"

namespace lintra {
namespace {
using test::wireHex;

// Parameters 01 02 03 ...
std::vector<uint8_t> params(size_t count) {
    std::vector<uint8_t> out(count);
    std::iota(out.begin(), out.end(), uint8_t{1});
    return out;
}

struct Row {
    std::initializer_list<uint16_t> codes;
    uint16_t min;
    uint16_t max;
};

void expectRowChecks(const Row &row, auto build) {
    for (uint16_t code : row.codes) {
        EXPECT_EQ(build(code, row.min), CommandCheck::Built) << code;
        EXPECT_EQ(build(code, row.max), CommandCheck::Built) << code;
        if (row.min > 0) {
            EXPECT_EQ(build(code, row.min - 1), CommandCheck::TooFew) << code;
        }
        EXPECT_EQ(build(code, row.max + 1), CommandCheck::TooMany) << code;
    }
}

CommandCheck buildPanel(uint16_t code, size_t count) {
    PanelFrame frame;
    const auto p = params(count);
    return PanelCommandTable::Build(5, code, p, frame);
}

CommandCheck buildController(uint16_t code, size_t count) {
    PanelFrame frame;
    const auto p = params(count);
    return ControllerCommandTable::Build(5, code, p, ControllerLink::Serial, frame);
}

TEST(PanelCommandTableTest, EveryCodeTakesExactlyItsCount) {
    const Row rows[] = {
        {{1, 4, 18, 86, 93, 100}, 0, 0},
        {{81, 91, 94, 95, 96, 101, 105, 107, 109}, 1, 1},
        {{12, 80, 82, 83, 85, 87, 88, 90, 97, 104}, 2, 2},
        {{102, 103}, 3, 3},
        {{92}, 4, 4},
        {{3, 99, 108}, 5, 5},
        {{8, 89}, 6, 6},
        {{98, 106}, 9, 9},
        {{84}, 10, 10},
    };
    for (const Row &row : rows) expectRowChecks(row, buildPanel);
}

TEST(PanelCommandTableTest, UnlistedCodesAreNotInTheTable) {
    for (uint16_t code : {0, 2, 5, 79, 110, 256, 65535})
        EXPECT_EQ(buildPanel(code, 0), CommandCheck::NotInTable) << code;
}

TEST(PanelCommandTableTest, BuildsTheFrameForThePanelAddress) {
    PanelFrame frame;
    ASSERT_EQ(PanelCommandTable::Build(5, 3, params(5), frame), CommandCheck::Built);
    EXPECT_EQ(wireHex(frame), "A9 05 03 01 02 03 04 05 00");
    ASSERT_EQ(PanelCommandTable::Build(7, 84, params(10), frame), CommandCheck::Built);
    EXPECT_EQ(wireHex(frame), "AE 07 54 01 02 03 04 05 06 07 08 09 0A 00");
}

TEST(PanelCommandTableTest, RefusedCommandLeavesTheFrameAlone) {
    PanelFrame frame = PanelFrame::emptyAnswer();
    EXPECT_EQ(PanelCommandTable::Build(5, 12, params(3), frame), CommandCheck::TooMany);
    EXPECT_EQ(wireHex(frame), wireHex(PanelFrame::emptyAnswer()));
}

TEST(ControllerCommandTableTest, EveryCodeTakesItsRange) {
    const Row rows[] = {
        {{4, 19, 21, 23, 24, 31, 60, 127, 242, 243}, 0, 0},
        {{52}, 0, 1},
        {{44, 46}, 0, 2},
        {{9, 14, 20, 22, 25, 29, 33, 34, 35, 36, 37, 38, 39, 42, 54, 55, 112, 113, 124, 125}, 1, 10},
        {{5, 6, 12, 15, 16, 30, 40, 41, 47, 49, 51}, 2, 10},
        {{10, 53}, 3, 10},
        {{11, 43, 45, 59}, 4, 10},
        {{3, 32, 50}, 5, 10},
        {{48}, 6, 10},
        {{8}, 7, 10},
        {{62}, 8, 10},
        {{13}, 9, 10},
        {{126}, 10, 10},
        // A frame holds 11 parameters: the open-ended codes stop there.
        {{120, 121, 122}, 0, 11},
        // Its frame is count + 6 bytes long, so 9 parameters are the most it can carry.
        {{58}, 7, 9},
    };
    for (const Row &row : rows) expectRowChecks(row, buildController);
}

TEST(ControllerCommandTableTest, UnlistedCodesAreNotInTheTable) {
    for (uint16_t code : {0, 1, 2, 7, 17, 18, 26, 27, 28, 56, 57, 61, 63, 100, 111, 114, 119, 123,
                          128, 241, 244, 255, 256, 65535})
        EXPECT_EQ(buildController(code, 0), CommandCheck::NotInTable) << code;
}

TEST(ControllerCommandTableTest, OpenEndedCountBeyondTheFrameIsRefused) {
    PanelFrame frame;
    for (size_t count : {12u, 65535u})
        EXPECT_EQ(ControllerCommandTable::Build(5, 120, params(count), ControllerLink::Tcp, frame),
                  CommandCheck::TooMany);
    ASSERT_EQ(ControllerCommandTable::Build(5, 120, params(11), ControllerLink::Tcp, frame),
              CommandCheck::Built);
    EXPECT_EQ(wireHex(frame), "AF 05 78 01 02 03 04 05 06 07 08 09 0A 0B 00");
}

TEST(ControllerCommandTableTest, ColonCommandLayout) {
    struct Case {
        ControllerLink link;
        size_t count;
        const char *frame;
    } cases[] = {
        {ControllerLink::Serial, 7, "AD 05 3A 01 02 03 04 05 06 07 00 00 00"},
        {ControllerLink::Serial, 9, "AF 05 3A 01 02 03 04 05 06 07 00 00 00 00 00"},
        {ControllerLink::Tcp, 7, "AD 05 3A 01 02 03 04 05 06 07 00 00 00"},
        {ControllerLink::Tcp, 9, "AF 05 3A 01 02 03 04 05 06 07 08 09 00 00 00"},
    };
    for (const auto &c : cases) {
        PanelFrame frame;
        ASSERT_EQ(ControllerCommandTable::Build(5, 58, params(c.count), c.link, frame), CommandCheck::Built);
        EXPECT_EQ(wireHex(frame), c.frame) << c.count;
    }
}

}  // namespace
}  // namespace lintra
