#include "lintra/nx/NXLinkDriver.h"

#include <poll.h>
#include <unistd.h>

#include <string>

namespace lintra::nx {

TNXLinkDriver::TNXLinkDriver(tessel::Clock &clock, std::unique_ptr<TNXLink> link, bool zeroEndsLine,
                             TNXLinkLogs logs)
    : TNXDriver(clock), link_(std::move(link)), reader_(clock, zeroEndsLine), logs_(logs) {}

void TNXLinkDriver::LinkOpened() {
    reader_.Reset();
    holding_.store(false);
    SetLinkOpen(true);
}

bool TNXLinkDriver::Disconnect() {
    TNXDriver::Disconnect();
    link_->Close();
    reader_.Reset();
    holding_.store(false);
    return true;
}

// Outside the pass lock: only the link's descriptor is touched, never the link object, which a
// client's disconnect may close meanwhile. Input or a wake from another thread ends the wait.
void TNXLinkDriver::AwaitPass() {
    if (!Connected() || holding_.load()) return;
    pollfd wait[2] = {{.fd = Link().WaitHandle(), .events = POLLIN, .revents = 0},
                      {.fd = WakeHandle(), .events = POLLIN, .revents = 0}};
    if (wait[0].fd < 0) return;
    if (::poll(wait, 2, static_cast<int>(PassWaitMs())) > 0 && (wait[1].revents & POLLIN)) {
        uint64_t wakes = 0;
        [[maybe_unused]] auto drained = ::read(WakeHandle(), &wakes, sizeof wakes);
    }
    awaited_ = true;
}

bool TNXLinkDriver::ReadPktWithin(TCommBuff &buffer, uint32_t waitMs) {
    auto *packet = dynamic_cast<TNXCommBuff *>(&buffer);
    if (!packet) return false;
    const std::string name(logs_.name);
    const bool traced = Logging(logs_.readLevel);
    if (traced) LogText(logs_.readLevel, name + ".ReadPkt::>Sock.RdNet[" + std::to_string(packet->length) + "]");
    const TNXLinkReader::Result result = reader_.Read(*link_, *packet, waitMs);
    holding_.store(reader_.Holding());
    if (result == TNXLinkReader::rdError) {
        Disconnect();
        packet->Clear();
        return false;
    }
    const bool complete = result == TNXLinkReader::rdPacket;
    if (traced) {
        LogBytes(logs_.readLevel, name + ".ReadPkt::<Sock.RdNet[" + std::to_string(complete ? packet->length : reader_.Pending()) + "]",
                 packet->data, complete ? packet->length : 0);
    }
    if (!complete) return false;
    NoteReceived();
    if (logs_.numbered) ++packetsReceived_;
    if (Logging(logs_.packetLevel)) {
        LogBytes(logs_.packetLevel,
                 logs_.numbered ? name + ".ReadPkt[" + std::to_string(packetsReceived_.load()) + "]" : name + ".ReadPkt",
                 packet->data, packet->length);
    }
    return true;
}

int32_t TNXLinkDriver::SendBuf(const uint8_t *bytes, int32_t length) {
    if (length <= 0) return -1;
    if (logs_.numbered) ++packetsSent_;
    if (Logging(logs_.packetLevel)) {
        const std::string name(logs_.name);
        LogBytes(logs_.packetLevel,
                 logs_.numbered ? name + ".SendBuf[" + std::to_string(packetsSent_.load()) + "]" : name + ".SendBuf",
                 bytes, length);
    }
    return link_->Send(bytes, static_cast<size_t>(length)) ? 0 : -1;
}

}  // namespace lintra::nx
