#include "lintra/runtime/CharFunc.h"

#include <gtest/gtest.h>

#include <string>

namespace lintra {
namespace {

TEST(CharFunc, HexDigitsAreUpperCaseOnly) {
    struct Case {
        char c;
        bool ok;
        int value;
    };
    for (Case k : {Case{'0', true, 0}, Case{'9', true, 9}, Case{'A', true, 10}, Case{'F', true, 15},
                   Case{'a', false, 0}, Case{'G', false, 0}, Case{' ', false, 0}}) {
        int value = -1;
        EXPECT_EQ(HexDigitValue(k.c, value), k.ok) << k.c;
        if (k.ok) {
            EXPECT_EQ(value, k.value) << k.c;
        }
    }
    char c = 'x';
    EXPECT_TRUE(HexDigitChar(11, c));
    EXPECT_EQ(c, 'B');
    EXPECT_FALSE(HexDigitChar(16, c));
    EXPECT_EQ(c, 0);
    EXPECT_FALSE(HexDigitChar(-1, c));
}

TEST(CharFunc, HexToIntStopsAtFirstNonDigitKeepingDigitsRead) {
    uint32_t value = 99;
    EXPECT_TRUE(HexToInt("1F0", value, 3));
    EXPECT_EQ(value, 0x1F0u);
    EXPECT_FALSE(HexToInt("1Fz0", value, 4));
    EXPECT_EQ(value, 0x1Fu);
    EXPECT_TRUE(HexToInt("", value, 0));
    EXPECT_EQ(value, 0u);
}

TEST(CharFunc, IntToHexFixedWritesExactlyCountDigits) {
    char out[5] = "....";
    EXPECT_TRUE(IntToHexFixed(0x2A, out, 4));
    EXPECT_EQ(std::string(out, 4), "002A");
    char two[3] = "..";
    EXPECT_FALSE(IntToHexFixed(0x1FF, two, 2));
    EXPECT_EQ(std::string(two, 2), "FF");
    EXPECT_EQ(two[2], '\0');  // nothing past count
}

TEST(CharFunc, TextForms) {
    const uint8_t bytes[] = {0x41, 0x00, 0x09, 0x0A, 0x0D, 0x1F};
    std::string s = "old";
    BytesToHexStr(bytes, 3, dfHex, s);
    EXPECT_EQ(s, " 41 00 09  ");
    BytesToHexStr(bytes, 6, dfChars, s);
    EXPECT_EQ(s, "A.....");
    BytesToHexStr(bytes, 1, dfHex | dfChars, s);
    EXPECT_EQ(s, " 41  A");
    EscapeControlChars(bytes, 6, s);
    EXPECT_EQ(s, std::string("A\\0\\t\\n\\r\x1F"));
    BoolTo01(true, s);
    EXPECT_EQ(s, "1");
    BoolTo01(false, s);
    EXPECT_EQ(s, "0");
}

TEST(CharFunc, BitStringsAppend) {
    std::string s = ">";
    ByteToBinStr(0x1A5, s);  // only the low byte
    EXPECT_EQ(s, ">10100101");
    s = ">";
    BitsToStr(0b0110, 3, s);
    EXPECT_EQ(s, ">0110");
    BitsToStr(1, -1, s);
    EXPECT_EQ(s, ">0110");
    s.clear();
    BitsToStr(0x80000001u, 40, s);  // never past bit 31
    EXPECT_EQ(s, "1" + std::string(30, '0') + "1");
    EXPECT_EQ(SwapBytes32(0x11223344u), 0x44332211u);
}

}  // namespace
}  // namespace lintra
