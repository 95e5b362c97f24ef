#include "lintra/nx/NXMsgCodec.h"

#include <algorithm>
#include <cstring>

namespace lintra::nx {
namespace {

// The handshake packets carry 16 characters as they are (line configuration, password).
constexpr int32_t kRawSize = 16;

bool CodeIs(const char *code, const char *text) { return std::memcmp(code, text, 4) == 0; }

bool RawSent(const char *code) {
    return CodeIs(code, "S101") || CodeIs(code, "A101") || CodeIs(code, "S10C");
}

bool RawReceived(const char *code) { return RawSent(code) || CodeIs(code, "A109"); }

bool Refuse(TNXCommBuff &buffer, int32_t reason) {
    buffer.error = reason;
    return false;
}

// Fills the data characters; false when msg has no form for its code.
bool EncodeData(const TNXMsg &msg, TNXCommBuff &buffer) {
    uint8_t *out = buffer.Data();
    if (CodeIs(msg.code, "S203") || CodeIs(msg.code, "S303")) {
        // One digit: a value above 15 has no form and is refused rather than sent broken.
        if (msg.count < 1 || msg.data[0] > 15) return false;
        out[0] = static_cast<uint8_t>(HexDigit(msg.data[0]));
        buffer.dataLength = 1;
        return true;
    }
    if (CodeIs(msg.code, "S205")) {
        if (msg.count < 3) return false;
        const int32_t values[] = {msg.data[0] >> 4, msg.data[0], msg.data[2] >> 4, msg.data[2],
                                  msg.data[1] >> 4, msg.data[1]};
        for (int i = 0; i < 6; ++i) out[i] = static_cast<uint8_t>(HexDigit(values[i]));
        buffer.dataLength = 6;
        return true;
    }
    if (RawSent(msg.code)) {
        // Zero-filled to 16; a CR or LF would end the packet early at the controller.
        if (msg.count > kRawSize) return false;
        const uint8_t *end = msg.data + msg.count;
        if (std::find_if(msg.data, end, [](uint8_t c) { return c == '\r' || c == '\n'; }) != end) return false;
        std::memset(out, 0, kRawSize);
        std::memcpy(out, msg.data, static_cast<size_t>(msg.count));
        buffer.dataLength = kRawSize;
        return true;
    }
    if (msg.count * 2 > TNXCommBuff::kMaxDataLength) return false;
    for (int32_t i = 0; i < msg.count; ++i) {
        out[2 * i] = static_cast<uint8_t>(HexDigit(msg.data[i] >> 4));
        out[2 * i + 1] = static_cast<uint8_t>(HexDigit(msg.data[i]));
    }
    buffer.dataLength = msg.count * 2;
    return true;
}

}  // namespace

bool EncodeMsg(const TNXMsg &msg, TNXCommBuff &buffer) {
    std::memcpy(buffer.code, msg.code, sizeof buffer.code);
    if (msg.count < 0 || msg.count > kNXMsgDataBytes || !EncodeData(msg, buffer)) {
        return Refuse(buffer, TNXCommBuff::erDataLength);
    }
    return buffer.BuildHeader();
}

bool DecodeMsg(TNXCommBuff &buffer, TNXMsg &msg) {
    const int32_t size = buffer.dataLength;
    if (size < 0 || size > TNXCommBuff::kMaxDataLength || buffer.length < size + TNXCommBuff::kHeaderSize) {
        return Refuse(buffer, TNXCommBuff::erLength);
    }
    msg = TNXMsg{};
    std::memcpy(msg.code, buffer.code, sizeof msg.code);
    msg.unit = buffer.line;
    const uint8_t *in = buffer.Data();
    if (RawReceived(buffer.code)) {
        std::memcpy(msg.data, in, static_cast<size_t>(size));
        msg.count = size;
        return true;
    }
    if (size % 2 != 0) return Refuse(buffer, TNXCommBuff::erData);
    for (int32_t i = 0; i < size / 2; ++i) {
        const int32_t high = HexDigitValue(in[2 * i]);
        const int32_t low = HexDigitValue(in[2 * i + 1]);
        if (high < 0 || low < 0) return Refuse(buffer, TNXCommBuff::erData);
        msg.data[i] = static_cast<uint8_t>(high << 4 | low);
    }
    msg.count = size / 2;
    return true;
}

TNXMsg MakeNXMsg(std::string_view code, int32_t unit, std::span<const uint8_t> data) {
    TNXMsg msg{};
    std::memcpy(msg.code, code.data(), std::min(code.size(), sizeof msg.code));
    msg.unit = unit;
    msg.count = static_cast<int32_t>(std::min(data.size(), sizeof msg.data));
    if (msg.count > 0) std::memcpy(msg.data, data.data(), static_cast<size_t>(msg.count));
    return msg;
}

}  // namespace lintra::nx
