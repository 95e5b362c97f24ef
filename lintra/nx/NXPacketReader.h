#pragma once
// TNXPacketReader: cuts the bytes the controller sends, as the transport reads them in pieces
// of any size, into packet lines. A line ends at CR or LF (on a serial link also at a zero
// byte); the terminator is not part of it and empty lines (the LF of a CR LF) are skipped.
//
// Bound: no packet is longer than 11 header + 255 data characters, so the reader keeps at most
// that many of an unfinished line. A line that grows past it is no packet: it is dropped up to
// its terminator and counted, and the next line is read normally. A flood of bytes without a
// terminator therefore costs no memory beyond that one line.
#include <array>
#include <cstdint>
#include <span>

#include "lintra/nx/NXCommBuff.h"

namespace lintra::nx {

class TNXPacketReader {
public:
    explicit TNXPacketReader(bool zeroEndsLine = false) : zeroEndsLine_(zeroEndsLine) {}

    // Takes bytes from the front of input until a line is complete: then packet holds exactly
    // that line (the buffer is cleared first) and the answer is true; the rest of input is left
    // for the next call. False when input ran out first; the unfinished line is kept.
    bool Take(std::span<const uint8_t> &input, TNXCommBuff &packet);
    // Forgets an unfinished line, e.g. when the link is closed.
    void Reset();

    // Characters of an unfinished line held.
    int32_t Pending() const { return size_; }
    // Lines dropped for being longer than any packet.
    int32_t Overflows() const { return overflows_; }

private:
    bool EndsLine(uint8_t c) const { return c == '\r' || c == '\n' || (zeroEndsLine_ && c == 0); }

    const bool zeroEndsLine_;
    std::array<uint8_t, TNXCommBuff::kMaxPacket> line_{};
    int32_t size_ = 0;
    bool dropping_ = false;  // inside an overlong line, until its terminator
    int32_t overflows_ = 0;
};

}  // namespace lintra::nx
