#include <gtest/gtest.h>

#include "sim/tests/PanelFixture.h"

namespace sim::test {
namespace {

using testsupport::hexBytes;

struct Decoded {
    int month, day, hour, minute, type, p1, p2, number;
};

// Reads a message answer the way the library's record conversion does.
Decoded decode(const Bytes &f) {
    auto bcd = [](uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); };
    if (f.size() == 11)
        return {f[5] >> 4, f[3] & 0x1F, f[4] & 0x1F, ((f[3] >> 2) & 0xF8) | (f[4] >> 5), f[5] & 0x0F,
                f[6], f[7], f[8] << 8 | f[9]};
    return {bcd(f[3]), bcd(f[4]), bcd(f[5]), bcd(f[6]), f[7], f[8], f[9], f[10] << 8 | f[11]};
}

Bytes poll(Panel &panel, uint64_t nowMs = kStartMs) {
    return *panel.answer(hexBytes("A4 05 56 F2"), nowMs);
}

Bytes pollNumber(Panel &panel, uint16_t n) {
    return *panel.answer(hexBytes(request("05 57 " + testsupport::toHex(std::vector<uint8_t>{
                                                         uint8_t(n >> 8), uint8_t(n)}))),
                         kStartMs);
}

bool isNotStoredAnswer(const Bytes &answer) { return testsupport::toHex(answer) == "A5 05 03 02 49"; }

TEST(Messages, FormatOneFrameOfTheStartupEvent) {
    Panel panel = freshPanel(5, AnswerFormat::Long);
    EXPECT_EQ(testsupport::toHex(poll(panel)), "AD 05 57 03 05 09 04 01 00 00 00 00 86");
}

TEST(Messages, BothFormatsCarryTimeTypeParametersAndNumber) {
    for (AnswerFormat format : {AnswerFormat::Short, AnswerFormat::Long}) {
        SCOPED_TRACE(int(format));
        Panel panel(5, format, CivilTime{2026, 12, 31, 23, 59, 0}, kStartMs);
        panel.messages().setNextNumber(0x0123);
        ASSERT_TRUE(panel.addEvent(4, 17, 200, kStartMs + 30'000));
        Bytes answer = poll(panel, kStartMs + 30'000);
        EXPECT_EQ(answer.size(), format == AnswerFormat::Short ? 11u : 13u);
        EXPECT_TRUE(frameIsValid(answer));
        Decoded d = decode(answer);
        EXPECT_EQ(d.month, 12);
        EXPECT_EQ(d.day, 31);
        EXPECT_EQ(d.hour, 23);
        EXPECT_EQ(d.minute, 59);
        EXPECT_EQ(d.type, 4);
        EXPECT_EQ(d.p1, 17);
        EXPECT_EQ(d.p2, 200);
        EXPECT_EQ(d.number, 0x0123);
    }
}

TEST(Messages, FormatZeroHasNoRoomForTypesAbove15) {
    Panel shortPanel = freshPanel(5, AnswerFormat::Short);
    Panel longPanel = freshPanel(5, AnswerFormat::Long);
    EXPECT_EQ(shortPanel.addEvent(16, 0, 0, kStartMs), nullptr);
    EXPECT_NE(longPanel.addEvent(31, 0, 0, kStartMs), nullptr);
}

TEST(Messages, VAnswersTheNewestAndWEachStoredNumber) {
    Panel panel = freshPanel();
    for (uint8_t zone = 1; zone <= 3; ++zone) panel.addEvent(2, zone, 0, kStartMs);
    EXPECT_EQ(decode(poll(panel)).number, 3);
    for (int n = 0; n <= 3; ++n) EXPECT_EQ(decode(pollNumber(panel, uint16_t(n))).number, n);
    EXPECT_EQ(decode(pollNumber(panel, 2)).p1, 2);
    EXPECT_TRUE(isNotStoredAnswer(pollNumber(panel, 4)));
}

TEST(Messages, NumbersWrapAfterTheFormatsLastNumber) {
    struct Case {
        AnswerFormat format;
        uint16_t last;
    };
    for (Case c : {Case{AnswerFormat::Short, 2049}, Case{AnswerFormat::Long, 65535}}) {
        SCOPED_TRACE(c.last);
        Panel panel = freshPanel(5, c.format);
        ASSERT_TRUE(panel.messages().setNextNumber(c.last));
        panel.addEvent(1, 0, 0, kStartMs);
        panel.addEvent(0, 0, 0, kStartMs);
        EXPECT_EQ(decode(poll(panel)).number, 0);
        EXPECT_EQ(decode(pollNumber(panel, c.last)).type, 1);
        EXPECT_EQ(decode(pollNumber(panel, 0)).type, 0);
        EXPECT_EQ(panel.messages().nextNumber(), 1);
    }
    EXPECT_FALSE(freshPanel().messages().setNextNumber(2050));
}

TEST(Messages, AFullRingForgetsItsOldestNumbers) {
    Panel panel = freshPanel(5, AnswerFormat::Short, 3);
    for (int i = 0; i < 5; ++i) panel.addEvent(1, 0, 0, kStartMs);  // numbers 1..5; 0..2 dropped
    EXPECT_TRUE(isNotStoredAnswer(pollNumber(panel, 2)));
    EXPECT_EQ(decode(pollNumber(panel, 3)).number, 3);
    EXPECT_EQ(decode(poll(panel)).number, 5);
}

TEST(Messages, OperatorCommandsStoreTheirEvent) {
    Panel panel = freshPanel();
    panel.tables().zones[2].state = 0x10;  // zone 3 in alarm
    struct Step {
        const char *command;
        int type, p1;
    };
    const Step steps[] = {
        {"05 50 01 03", 4, 3},  // arm zone 3
        {"05 50 00 03", 5, 3},  // disarm zone 3
        {"05 69 00", 12, 0},    // stop the alarm
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.command);
        ask(panel, request(s.command));
        Decoded d = decode(poll(panel));
        EXPECT_EQ(d.type, s.type);
        EXPECT_EQ(d.p1, s.p1);
    }
    EXPECT_EQ(panel.tables().zones[2].state, 0x00);
    EXPECT_EQ(panel.tables().zones[2].flags & 1, 0);
    ask(panel, request("05 50 01 03"));
    EXPECT_EQ(panel.tables().zones[2].flags & 1, 1);
}

TEST(Messages, SettingTheClockStampsLaterMessagesWithTheNewTime) {
    Panel panel = freshPanel();
    ask(panel, request("05 03 11 28 17 45 26"), kStartMs);  // 28 November, 17:45
    Decoded set = decode(poll(panel));
    EXPECT_EQ(set.type, 7);
    EXPECT_EQ(set.month, 11);
    EXPECT_EQ(set.minute, 45);
    panel.addEvent(1, 0, 0, kStartMs + 20 * 60'000);  // the clock runs with the model time
    Decoded later = decode(poll(panel));
    EXPECT_EQ(later.hour, 18);
    EXPECT_EQ(later.minute, 5);
}

}  // namespace
}  // namespace sim::test
