#include "sim/ncx/NcxPacket.h"

#include "sim/panel/TextFields.h"

namespace sim {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<NcxPacket> parsePacket(std::string_view text) {
    if (text.size() < NcxPacket::kHeaderChars || text[0] != 'T' || text[2] != 'L' || text[8] != 'D')
        return std::nullopt;
    int kind = hexDigit(text[1]);
    int line = hexDigit(text[3]);
    int lengthHigh = hexDigit(text[9]);
    int lengthLow = hexDigit(text[10]);
    bool codeOk = text[4] >= 'A' && text[4] <= 'Z';
    for (size_t i = 5; i < 8; ++i) codeOk = codeOk && hexDigit(text[i]) >= 0;
    if (kind < 0 || line < 0 || lengthHigh < 0 || lengthLow < 0 || !codeOk) return std::nullopt;
    if (text.size() != NcxPacket::kHeaderChars + static_cast<size_t>(lengthHigh * 16 + lengthLow))
        return std::nullopt;
    return NcxPacket{static_cast<uint8_t>(kind), static_cast<uint8_t>(line), std::string(text.substr(4, 4)),
                     std::string(text.substr(NcxPacket::kHeaderChars))};
}

std::string formatPacket(const NcxPacket &packet) {
    return "T" + hex(packet.kind, 1) + "L" + hex(packet.line, 1) + packet.code + "D" +
           hex(static_cast<uint32_t>(packet.data.size()), 2) + packet.data;
}

}  // namespace sim
