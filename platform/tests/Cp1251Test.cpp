#include "platform/Cp1251.h"

#include <gtest/gtest.h>

using tessel::cp1251ToUtf8;
using tessel::utf8ToCp1251;

TEST(Cp1251, EveryMappedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(byte)), byte) << "byte " << b;
    }
}

TEST(Cp1251, KnownCharacters) {
    struct Case {
        std::string cp1251, utf8;
    } cases[] = {
        {"\xCF\xF3\xEB\xFC\xF2 M50", "Пульт M50"},
        {"\xA8\xB8", "Ёё"},
        {"\x88\xB9\x96", "€№–"},
        {"\xA5\xB4\xAA\xBA", "Ґґ\u0404\u0454"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(cp1251ToUtf8(c.cp1251), c.utf8);
        EXPECT_EQ(utf8ToCp1251(c.utf8), c.cp1251);
    }
}

TEST(Cp1251, UnmappedAndInvalidBecomeQuestionMarks) {
    EXPECT_EQ(cp1251ToUtf8("\x98"), "\uFFFD");
    EXPECT_EQ(utf8ToCp1251("\uFFFD"), "?");
    EXPECT_EQ(utf8ToCp1251("a\u4E2Db"), "a?b");
    // A cut sequence, a stray continuation byte and an overlong slash.
    EXPECT_EQ(utf8ToCp1251("\xD0"), "?");
    EXPECT_EQ(utf8ToCp1251("\x80x"), "?x");
    EXPECT_EQ(utf8ToCp1251("\xC0\xAF"), "??");
}
