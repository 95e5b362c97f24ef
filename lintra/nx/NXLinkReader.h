#pragma once
// TNXLinkReader: packet lines from a link. The link is read in chunks rather than a character
// per call, so a packet costs one or two system calls; what a chunk holds beyond the line
// waits for the next call. Lines are cut and bounded by TNXPacketReader.
#include <array>
#include <cstdint>

#include "lintra/nx/NXLink.h"
#include "lintra/nx/NXPacketReader.h"
#include "platform/Clock.h"

namespace lintra::nx {

class TNXLinkReader {
public:
    enum Result : int32_t { rdError = -1, rdNone = 0, rdPacket = 1 };

    TNXLinkReader(tessel::Clock &clock, bool zeroEndsLine) : clock_(clock), lines_(zeroEndsLine) {}

    // One complete line into packet within waitMs; a line that arrives in pieces is put
    // together across calls.
    Result Read(TNXLink &link, TNXCommBuff &packet, uint32_t waitMs);
    // True when bytes wait here, so a reader need not wait on the link.
    bool Holding() const { return begin_ < end_; }
    // Forgets everything read, when the link is closed.
    void Reset();
    // Characters of an unfinished line held.
    int32_t Pending() const { return lines_.Pending(); }
    int32_t Overflows() const { return lines_.Overflows(); }

private:
    bool TakeHeld(TNXCommBuff &packet);

    tessel::Clock &clock_;
    TNXPacketReader lines_;
    std::array<uint8_t, 1024> chunk_{};
    size_t begin_ = 0;
    size_t end_ = 0;
};

}  // namespace lintra::nx
