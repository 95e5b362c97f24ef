#pragma once
// TNXLinkDriver: what the TCP and serial drivers share over their link: reading packet lines
// into the receive buffer, sending, closing on a drop, and waiting for input between passes.
// The two differ in how they open the link and in the texts and levels of their logs.
#include <cstdint>
#include <memory>
#include <string_view>

#include "lintra/nx/NXDriver.h"
#include "lintra/nx/NXLink.h"
#include "lintra/nx/NXLinkReader.h"

namespace lintra::nx {

struct TNXLinkLogs {
    std::string_view name;   // the class name the records begin with
    int readLevel;           // the RdNet records around each read
    int packetLevel;         // a complete packet received, bytes sent
    bool numbered;           // the packet records carry the packet counters
};

class TNXLinkDriver : public TNXDriver {
public:
    int32_t SendBuf(const uint8_t *bytes, int32_t length) override;
    // The driver's Disconnect, then the link closes.
    bool Disconnect() override;

    // Lines cut short or dropped for being longer than any packet.
    int32_t Overflows() const { return reader_.Overflows(); }

protected:
    TNXLinkDriver(tessel::Clock &clock, std::unique_ptr<TNXLink> link, bool zeroEndsLine, TNXLinkLogs logs);
    bool ReadPktWithin(TCommBuff &buffer, uint32_t waitMs) override;
    void AwaitPass() override;
    TNXLink &Link() { return *link_; }
    // Called once the link is open: a new connection starts with nothing read.
    void LinkOpened();

private:
    std::unique_ptr<TNXLink> link_;
    TNXLinkReader reader_;
    const TNXLinkLogs logs_;
    // Bytes are held from the last read, so the next pass must not wait on the link.
    std::atomic<bool> holding_{false};
};

}  // namespace lintra::nx
