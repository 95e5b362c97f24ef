// Feeds arbitrary bytes as what the controller sends. The first byte chooses the size of the
// pieces the stream arrives in; cut that way or read at once, the stream must give the same
// packets. Every packet that parses and decodes must encode back to the same characters.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "lintra/nx/NXMsgCodec.h"
#include "lintra/nx/NXPacketReader.h"
#include "lintra/nx/NXRoute.h"

namespace {

using lintra::nx::TNXCommBuff;

void Check(bool condition) {
    if (!condition) std::abort();
}

// Codes whose data has a form of its own in one direction only.
bool OwnForm(const char *code) {
    for (const char *special : {"S203", "S303", "S205", "S101", "A101", "S10C", "A109"}) {
        if (std::memcmp(code, special, 4) == 0) return true;
    }
    return false;
}

void Examine(TNXCommBuff &packet) {
    Check(packet.length >= 1 && packet.length <= TNXCommBuff::kMaxPacket);
    Check(std::memchr(packet.data, '\r', static_cast<size_t>(packet.length)) == nullptr);
    Check(std::memchr(packet.data, '\n', static_cast<size_t>(packet.length)) == nullptr);
    const std::string line(reinterpret_cast<const char *>(packet.data), static_cast<size_t>(packet.length));
    const lintra::nx::TNXRoute route = lintra::nx::RoutePacket(packet);
    if (route.target == lintra::nx::TNXRoute::Refused) return;
    Check(packet.length == packet.dataLength + TNXCommBuff::kHeaderSize);
    Check(route.target == lintra::nx::TNXRoute::Controller || (route.line >= 0 && route.line < 15));
    lintra::nx::TNXMsg msg{};
    if (!lintra::nx::DecodeMsg(packet, msg)) return;
    Check(msg.count >= 0 && msg.count <= TNXCommBuff::kMaxDataLength);
    if (OwnForm(msg.code) || msg.code[0] < 'A' || msg.code[0] > 'Z') return;
    TNXCommBuff again(packet.kind, packet.line);
    Check(lintra::nx::EncodeMsg(msg, again));
    Check(std::string(reinterpret_cast<const char *>(again.data), static_cast<size_t>(again.length)) == line);
}

std::vector<std::string> ReadAll(std::span<const uint8_t> stream, size_t piece, int32_t *overflows) {
    lintra::nx::TNXPacketReader reader;
    TNXCommBuff packet;
    std::vector<std::string> lines;
    while (!stream.empty()) {
        std::span<const uint8_t> input = stream.first(std::min(piece, stream.size()));
        stream = stream.subspan(input.size());
        while (reader.Take(input, packet)) {
            lines.emplace_back(reinterpret_cast<const char *>(packet.data), static_cast<size_t>(packet.length));
            Examine(packet);
        }
        Check(reader.Pending() <= TNXCommBuff::kMaxPacket);
    }
    *overflows = reader.Overflows();
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = data[0] % 16 + 1;
    const std::span<const uint8_t> stream(data + 1, size - 1);
    int32_t overflowsInPieces = 0;
    int32_t overflowsAtOnce = 0;
    const std::vector<std::string> inPieces = ReadAll(stream, piece, &overflowsInPieces);
    Check(inPieces == ReadAll(stream, stream.size() + 1, &overflowsAtOnce));
    Check(overflowsInPieces == overflowsAtOnce);
    return 0;
}
