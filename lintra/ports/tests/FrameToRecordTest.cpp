#include "lintra/ports/FrameToRecord.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <set>
#include <string>

#include "lintra/ports/tests/FrameFixtures.h"

namespace lintra {
namespace {
using test::frameOf;

constexpr LocalTime kNow{3, 10, 9, 45};  // 10 March, 09:45

// A frame of length n with the given code and bytes 3.. = 31 32 33 ... (byte i = 0x2E + i).
PanelFrame patterned(uint8_t code, uint8_t n) {
    PanelFrame frame;
    frame.bytes[0] = static_cast<uint8_t>(0xA0 | n);
    frame.bytes[1] = 0x05;
    frame.bytes[2] = code;
    for (size_t i = 3; i < PanelFrame::kBufferSize; ++i) frame.bytes[i] = static_cast<uint8_t>(0x2E + i);
    return frame;
}

std::string dataHex(const EventRecord &record) {
    EXPECT_LE(record.data_length, kEventDataBytes);
    return testsupport::toHex(std::span(record.data, std::min<size_t>(record.data_length, 10)));
}

std::string timeOf(const EventRecord &record) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d", record.month, record.day, record.hour,
                  record.minute);
    return text;
}

struct DataRow {
    std::initializer_list<uint8_t> codes;
    uint8_t n;
    const char *data;
};

TEST(EventFrameToRecordTest, DataOfEveryCodeRow) {
    const DataRow rows[] = {
        {{1, 18, 30, 34, 35, 98}, 15, ""},
        {{3, 37}, 15, "31"},
        {{4, 39, 124}, 15, "31 32 33 34 35"},
        {{5}, 8, "31 32 33 34"},
        {{5}, 15, "31 32 33 34 35 36 37 38 39 3A"},  // 11 bytes in the frame, 10 fit
        {{5}, 3, ""},
        {{6}, 15, "32 31"},
        {{7, 8, 9, 10, 11, 12, 13, 14, 25, 32, 61, 62}, 15, "33 34 35 36 37"},
        {{15, 22, 33, 36, 45}, 15, "37"},
        {{17, 21, 23}, 15, "33"},
        {{19, 122, 125}, 15, "31 32 33 34 35 36 37 38 39 3A"},
        {{20, 38}, 15, "31 32 33"},
        {{24, 41, 42, 120}, 15, "31 32 33 34 35 36"},
        {{26, 27}, 15, "00 00 00 00 37"},
        {{28}, 15, "31 32 33 34 35 36 37"},
        {{31}, 15, "31 32 33 34"},
        {{40}, 15, "31 32"},
        {{121}, 15, "31 32 33 34 35 36 37 38"},
        {{123}, 15, "31 32 33 34 35 36 37 38 39"},
        {{0, 2, 16, 44, 100, 127}, 15, "33 34 35 36 37 38 39 3A 3B"},
        {{2}, 7, "33"},
        {{2}, 6, ""},
    };
    for (const DataRow &row : rows)
        for (uint8_t code : row.codes) {
            const EventRecord record = EventFrameToRecord(patterned(code, row.n), kNow);
            EXPECT_EQ(record.address, 0x05) << int(code);
            EXPECT_EQ(record.code, code);
            EXPECT_EQ(dataHex(record), row.data) << "code " << int(code) << " n " << int(row.n);
        }
}

TEST(EventFrameToRecordTest, CodeDropsTheHighBitBelowF0) {
    EXPECT_EQ(EventFrameToRecord(patterned(0x83, 15), kNow).code, 3);
    EXPECT_EQ(dataHex(EventFrameToRecord(patterned(0x83, 15), kNow)), "31");
    EXPECT_EQ(EventFrameToRecord(patterned(0xEF, 15), kNow).code, 0x6F);
    EXPECT_EQ(EventFrameToRecord(patterned(0xF0, 15), kNow).code, 0xF0);
    EXPECT_EQ(EventFrameToRecord(patterned(0xFF, 15), kNow).code, 0xFF);
}

TEST(EventFrameToRecordTest, TimeStampedCodesCarryTheirOwnTime) {
    const std::set<int> stamped = {1,  7,  8,  9,  10, 11, 12, 13, 14, 15, 17, 21, 22, 23,
                                   25, 26, 27, 29, 30, 32, 33, 36, 45, 61, 62, 63, 122};
    for (int code = 0; code < 256; ++code) {
        PanelFrame frame = patterned(static_cast<uint8_t>(code), 15);
        frame.bytes[3] = 0x6C;
        frame.bytes[4] = 0x9E;
        const bool ownTime = code < 0xF0 && stamped.count(code & 0x7F);
        EXPECT_EQ(timeOf(EventFrameToRecord(frame, kNow)), ownTime ? "02/14 12:30" : "03/10 09:45")
            << "code " << code;
    }
}

TEST(EventFrameToRecordTest, FrameDayAfterTodayBelongsToThePreviousMonth) {
    const PanelFrame frame = frameOf("AF 05 0A 6C 9E 00 00 00 00 00 00 00 00 00 00");  // day 14
    struct Case {
        LocalTime now;
        const char *time;
    } cases[] = {
        {{3, 14, 0, 0}, "03/14 12:30"},
        {{3, 13, 0, 0}, "02/14 12:30"},
        {{1, 2, 0, 0}, "12/14 12:30"},
    };
    for (const auto &c : cases) EXPECT_EQ(timeOf(EventFrameToRecord(frame, c.now)), c.time);
}

TEST(EventFrameToRecordTest, InternalFramesGiveNoData) {
    const EventRecord record = EventFrameToRecord(PanelFrame::connectionLost(6), kNow);
    EXPECT_EQ(record.line, 0);
    EXPECT_EQ(record.address, 0xFB);
    EXPECT_EQ(record.code, 0x65);
    EXPECT_EQ(timeOf(record), "03/10 09:45");
    EXPECT_EQ(record.data_length, 0);
    // Address 0xFB wins over the code's own data rule.
    EXPECT_EQ(EventFrameToRecord(PanelFrame::errorAnswer(7), kNow).data_length, 0);
}

EventRecord prefilled() {
    EventRecord record;
    std::memset(&record, 0xAA, sizeof record);
    return record;
}

TEST(AnswerFrameToRecordTest, AnswerRowsTakePcTimeAndKeepLineAndAddress) {
    const DataRow rows[] = {
        {{85}, 15, "31 32 33 34 35"},  // zone, flags, state, block type, timer
        {{89, 94}, 15, "31 32 33 34"},
        {{86}, 15, "31 32 33 34 35 36 37 38 39 3A"},  // section, quarter, eight mask bytes
        {{90, 93}, 15, "31"},
        {{91}, 15, "31 32 33 34 35 36 37 38 39 3A"},
        {{92}, 15, "31 32 33 34 35 36"},
        {{95}, 15, "31 32 33"},
    };
    for (const DataRow &row : rows)
        for (uint8_t code : row.codes)
            for (uint8_t codeByte : {code, static_cast<uint8_t>(code | 0x80)}) {
                EventRecord record = prefilled();
                AnswerFrameToRecord(patterned(codeByte, row.n), kNow, record);
                EXPECT_EQ(record.line, 0xAAAA);
                EXPECT_EQ(record.address, 0xAAAA);
                EXPECT_EQ(record.code, code);
                EXPECT_EQ(timeOf(record), "03/10 09:45");
                EXPECT_EQ(dataHex(record), row.data) << int(codeByte);
            }
    EventRecord record = prefilled();
    AnswerFrameToRecord(patterned(95, 15), kNow, record);
    EXPECT_EQ(record.data[3], 0x34);  // byte 6 rides beyond the length
}

// What the buffer holds past a frame's length (a longer frame read before it) never reaches the
// record: bytes a short frame does not carry read as zero.
TEST(FrameToRecordTest, BytesPastTheFrameReadAsZero) {
    const struct {
        const char *frame;
        bool answer;
        const char *data;
    } cases[] = {
        {"A9 05 55 01 02 03 04 05 F0", true, "01 02 03 04 05"},  // zone answer: checksum not data
        {"A8 05 55 01 02 03 04 F0", true, "01 02 03 04 F0"},     // one short: up to the checksum
        {"A6 05 04 01 02 F0", false, "01 02 F0 00 00"},
        {"A4 05 06 12", false, "00 12"},
        {"A9 05 1A 00 00 00 00 F0", false, "00 00 00 00 00"},
    };
    for (const auto &c : cases) {
        PanelFrame frame = frameOf(c.frame);
        for (size_t i = frame.length(); i < PanelFrame::kBufferSize; ++i) frame.bytes[i] = 0xEE;
        EventRecord record = prefilled();
        if (c.answer) AnswerFrameToRecord(frame, kNow, record);
        else record = EventFrameToRecord(frame, kNow);
        EXPECT_EQ(dataHex(record), c.data) << c.frame;
    }
    // Code 10 takes its time from bytes 3 and 4; a frame of 3 bytes carries neither.
    PanelFrame stamped = frameOf("A3 05 0A EE EE");
    EXPECT_EQ(timeOf(EventFrameToRecord(stamped, kNow)), "03/00 00:00");
}

TEST(AnswerFrameToRecordTest, OtherAnswerCodesAreEventFrames) {
    EventRecord record = prefilled();
    AnswerFrameToRecord(patterned(5, 8), kNow, record);
    EXPECT_EQ(record.line, 0);  // an event frame starts from a cleared record
    EXPECT_EQ(record.address, 5);
    EXPECT_EQ(dataHex(record), "31 32 33 34");
}

struct MessageCase {
    const char *why;
    const char *frame;
    uint16_t address;
    uint16_t code;
    const char *time;
    const char *data;
};

TEST(AnswerFrameToRecordTest, StoredMessageInElevenBytes) {
    // Bytes 3, 4 = 4E AC: day 14, hour 12, minute 21; byte 5 = month 4 and the kind.
    const MessageCase cases[] = {
        {"kind 0", "AB 05 57 4E AC 40 11 0E 00 07 00", 0xFB, 0x61, "04/14 12:21", ""},
        {"kind 1", "AB 05 57 4E AC 41 11 0E 00 07 00", 0xFB, 0x6A, "04/14 12:21", ""},
        {"kind 2: zone 14 is unit 4, bit 2", "AB 05 57 4E AC 42 11 0E 00 07 00", 4, 21, "04/14 12:21", "04"},
        {"kind 3", "AB 05 57 4E AC 43 11 0E 00 07 00", 0xFB, 0x57, "04/14 12:21", "03 11 0E"},
        {"kind 6", "AB 05 D7 4E AC 46 11 0E 00 07 00", 0xFB, 0x57, "04/14 12:21", "06 11 0E"},
        {"kind 7", "AB 05 57 4E AC 47 11 0E 00 07 00", 0xFB, 0x57, "04/14 12:21", "07 11"},
        {"kind 9", "AB 05 57 4E AC 49 11 0E 00 07 00", 0xFB, 0x57, "04/14 12:21", "09 11"},
        {"kind 12 sets only code and time", "AB 05 57 4E AC 4C 11 0E 00 07 00", 0xAAAA, 0x57,
         "04/14 12:21", "AA AA AA AA AA AA AA AA AA AA"},
    };
    for (const auto &c : cases) {
        EventRecord record = prefilled();
        record.data_length = 10;
        AnswerFrameToRecord(frameOf(c.frame), kNow, record);
        EXPECT_EQ(record.address, c.address) << c.why;
        EXPECT_EQ(record.code, c.code) << c.why;
        EXPECT_EQ(timeOf(record), c.time) << c.why;
        EXPECT_EQ(dataHex(record), c.data) << c.why;
    }
}

TEST(AnswerFrameToRecordTest, StoredMessageInThirteenBytesHasBcdTime) {
    EventRecord record = prefilled();
    AnswerFrameToRecord(frameOf("AD 05 57 12 31 23 59 01 02 03 04 00 09 00"), kNow, record);
    EXPECT_EQ(record.address, 0xAAAA);
    EXPECT_EQ(record.code, 0x57);
    EXPECT_EQ(timeOf(record), "12/31 23:59");
    EXPECT_EQ(dataHex(record), "01 02 03");
    EXPECT_EQ(record.data[3], 0x04);  // byte 10 rides beyond the length
}

TEST(AnswerFrameToRecordTest, StoredMessageOfOtherLengthSetsOnlyTheCode) {
    EventRecord record = prefilled();
    EventRecord expected = prefilled();
    expected.code = 0x57;
    AnswerFrameToRecord(patterned(0x57, 12), kNow, record);
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
}

}  // namespace
}  // namespace lintra
