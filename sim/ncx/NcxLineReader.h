#pragma once
// Cuts the controller's input into lines. A line ends at CR or LF, so CR, LF and CR LF all end
// one, and the empty lines between terminators are skipped. A line longer than any packet is
// handed on at one character past the longest packet (so it is refused) and the rest up to its
// terminator dropped: the reader holds at most that much, whatever the peer sends.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/ncx/NcxPacket.h"

namespace sim {

class NcxLineReader {
public:
    static constexpr size_t kMaxLine = NcxPacket::kMaxChars + 1;

    // The lines the bytes complete, terminators removed.
    std::vector<std::string> feed(std::span<const uint8_t> bytes);

private:
    std::string pending_;
    bool skipping_ = false;  // the rest of a line already handed on as too long
};

}  // namespace sim
