#include "lintra/ports/FrameToRecord.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <initializer_list>
#include <optional>

namespace lintra {
namespace {

// Codes whose frames carry their own day, hour and minute in bytes 3 and 4.
const std::bitset<128> kTimeStampedCodes = [] {
    std::bitset<128> set;
    for (int code : {1, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 21, 22, 23, 25, 26, 27, 29, 30, 32, 33,
                     36, 45, 61, 62, 63, 122})
        set.set(code);
    return set;
}();

// How an event code's data bytes are taken from its frame.
enum class DataLayout { Copy, PanelNumber, ZerosThenByte9, ToFrameEnd, FromByte5 };

struct DataRule {
    DataLayout layout;
    uint8_t first = 0;   // Copy: first frame byte
    uint8_t length = 0;  // Copy: number of bytes
};

DataRule dataRule(uint16_t code) {
    switch (code) {
    case 1: case 18: case 30: case 34: case 35: case 98:
        return {DataLayout::Copy, 3, 0};
    case 3: case 37:
        return {DataLayout::Copy, 3, 1};
    case 4: case 39: case 124:
        return {DataLayout::Copy, 3, 5};
    case 5:
        return {DataLayout::ToFrameEnd};
    case 6:
        return {DataLayout::PanelNumber};
    case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 14: case 25: case 32: case 61:
    case 62:
        return {DataLayout::Copy, 5, 5};
    case 15: case 22: case 33: case 36: case 45:
        return {DataLayout::Copy, 9, 1};
    case 17: case 21: case 23:
        return {DataLayout::Copy, 5, 1};
    case 19: case 122: case 125:
        return {DataLayout::Copy, 3, 10};
    case 20: case 38:
        return {DataLayout::Copy, 3, 3};
    case 24: case 41: case 42: case 120:
        return {DataLayout::Copy, 3, 6};
    case 26: case 27:
        return {DataLayout::ZerosThenByte9};
    case 28:
        return {DataLayout::Copy, 3, 7};
    case 31:
        return {DataLayout::Copy, 3, 4};
    case 40:
        return {DataLayout::Copy, 3, 2};
    case 121:
        return {DataLayout::Copy, 3, 8};
    case 123:
        return {DataLayout::Copy, 3, 9};
    default:
        return {DataLayout::FromByte5};
    }
}

// Byte i of the frame as received; bytes past its length nibble (checksum included in the length,
// whatever the buffer holds beyond it) read as 0, so no record depends on a previous frame.
uint8_t frameByte(const PanelFrame &frame, size_t i) { return i < frame.length() ? frame.bytes[i] : 0; }

// length bytes from frame byte first on; the record keeps the length its row gives, with zeros
// where a short frame ends early.
void copyData(const PanelFrame &frame, size_t first, size_t length, EventRecord &record) {
    length = std::min(length, kEventDataBytes);
    for (size_t i = 0; i < length; ++i) record.data[i] = frameByte(frame, first + i);
    record.data_length = static_cast<uint16_t>(length);
}

void fillEventData(const PanelFrame &frame, EventRecord &record) {
    const size_t n = frame.length();
    const DataRule rule = dataRule(record.code);
    switch (rule.layout) {
    case DataLayout::Copy:
        copyData(frame, rule.first, rule.length, record);
        break;
    case DataLayout::ToFrameEnd:  // bytes 3..n-2; a 15-byte frame holds 11, the record takes 10
        copyData(frame, 3, n > 4 ? n - 4 : 0, record);
        break;
    case DataLayout::PanelNumber:  // high byte first on the wire, low byte first in the record
        record.data[0] = frameByte(frame, 4);
        record.data[1] = frameByte(frame, 3);
        record.data_length = 2;
        break;
    case DataLayout::ZerosThenByte9:
        record.data[4] = frameByte(frame, 9);
        record.data_length = 5;
        break;
    case DataLayout::FromByte5:
        copyData(frame, 5, n > 6 ? n - 6 : 0, record);
        break;
    }
}

void setTime(const LocalTime &time, EventRecord &record) {
    record.month = time.month;
    record.day = time.day;
    record.hour = time.hour;
    record.minute = time.minute;
}

void setFrameTime(const PanelFrame &frame, const LocalTime &now, EventRecord &record) {
    const uint8_t b3 = frameByte(frame, 3), b4 = frameByte(frame, 4);
    record.day = static_cast<uint8_t>((b3 >> 5) * 4 + (b4 >> 6));
    record.hour = b3 & 0x1F;
    record.minute = b4 & 0x3F;
    // A day later than today belongs to the month before.
    record.month = record.day > now.day ? (now.month == 1 ? 12 : now.month - 1) : now.month;
}

// Answers that take the PC's time and bytes from byte 3 on; copied may exceed length.
struct PcTimeAnswer {
    uint8_t length;
    uint8_t copied;
};

std::optional<PcTimeAnswer> pcTimeAnswer(uint8_t c) {
    switch (c) {
    // The zone answer carries zone, flags, state, block type and timer: all five are decoded.
    case 85: return PcTimeAnswer{5, 5};
    case 89: case 94: return PcTimeAnswer{4, 4};
    // The section-quarter answer is a 14-byte frame: section, quarter and eight mask bytes,
    // then the checksum. Twelve bytes from byte 3 would pass its end and the record's room.
    case 86: return PcTimeAnswer{10, 10};
    case 90: case 93: return PcTimeAnswer{1, 1};
    case 91: return PcTimeAnswer{10, 10};
    case 92: return PcTimeAnswer{6, 6};
    case 95: return PcTimeAnswer{3, 4};  // byte 6 rides beyond the length
    default: return std::nullopt;
    }
}

uint8_t fromBcd(uint8_t value) { return static_cast<uint8_t>((value >> 4) * 10 + (value & 0x0F)); }

// A stored message in answer format 0: time packed into bytes 3..5, its kind in the low nibble
// of byte 5.
void decodeMessageFormat0(const PanelFrame &frame, EventRecord &record) {
    const uint8_t *b = frame.bytes.data();
    record.day = b[3] & 0x1F;
    record.hour = b[4] & 0x1F;
    record.month = b[5] >> 4;
    record.minute = static_cast<uint8_t>(((b[3] >> 2) & 0xF8) | (b[4] >> 5));
    const uint8_t kind = b[5] & 0x0F;
    if (kind <= 1) {
        record.address = PanelFrame::kInternalAddress;
        record.code = kind == 0 ? 0x61 : 0x6A;
        record.data_length = 0;
    } else if (kind == 2) {
        record.address = b[7] / 3;
        record.code = 21;
        record.data[0] = static_cast<uint8_t>(1u << (b[7] % 3));
        record.data_length = 1;
    } else if (kind <= 9) {
        record.address = PanelFrame::kInternalAddress;
        record.code = 0x57;
        record.data[0] = kind;
        record.data[1] = b[6];
        record.data_length = 2;
        if (kind <= 6) {
            record.data[2] = b[7];
            record.data_length = 3;
        }
    }
}

// A stored message in answer format 1: BCD month, day, hour, minute in bytes 3..6.
void decodeMessageFormat1(const PanelFrame &frame, EventRecord &record) {
    const uint8_t *b = frame.bytes.data();
    record.month = fromBcd(b[3]);
    record.day = fromBcd(b[4]);
    record.hour = fromBcd(b[5]);
    record.minute = fromBcd(b[6]);
    std::memcpy(record.data, b + 7, 4);  // byte 10 rides beyond the length
    record.data_length = 3;
}

}  // namespace

uint16_t RecordCode(uint8_t frameCode) { return frameCode >= 0xF0 ? frameCode : frameCode & 0x7F; }

EventRecord EventFrameToRecord(const PanelFrame &frame, const LocalTime &now) {
    EventRecord record{};
    record.address = frameByte(frame, 1);
    record.code = RecordCode(frameByte(frame, 2));
    if (record.code < kTimeStampedCodes.size() && kTimeStampedCodes.test(record.code))
        setFrameTime(frame, now, record);
    else
        setTime(now, record);
    if (record.address != PanelFrame::kInternalAddress) fillEventData(frame, record);
    return record;
}

void AnswerFrameToRecord(const PanelFrame &frame, const LocalTime &now, EventRecord &record) {
    const uint8_t codeByte = frameByte(frame, 2);
    record.code = RecordCode(codeByte);
    const uint8_t c = codeByte & 0x7F;
    if (const auto row = pcTimeAnswer(c)) {
        setTime(now, record);
        copyData(frame, 3, row->copied, record);
        record.data_length = row->length;
    } else if (c == 87) {
        if (frame.length() == 11) decodeMessageFormat0(frame, record);
        else if (frame.length() == 13) decodeMessageFormat1(frame, record);
    } else {
        record = EventFrameToRecord(frame, now);
    }
}

}  // namespace lintra
