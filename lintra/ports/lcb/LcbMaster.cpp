#include "lintra/ports/lcb/LcbMaster.h"

#include <algorithm>
#include <array>

#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr std::array<uint8_t, 24> kAcknowledged{5,  6,  8,  11, 12, 15, 16, 17, 20, 22, 23, 29,
                                                31, 32, 33, 34, 41, 44, 46, 49, 51, 52, 54, 57};

}  // namespace

bool TLCBMaster::NeedsAcknowledgement(uint8_t code) {
    return std::find(kAcknowledged.begin(), kAcknowledged.end(), code) != kAcknowledged.end();
}

TLCBMaster::TLCBMaster(TLcbMasterLine &line, Port &port, tessel::Clock &clock)
    : line_(line), port_(port), clock_(clock) {}

bool TLCBMaster::awaitingAck() const {
    std::lock_guard lock(ackMutex_);
    return awaitingAck_;
}

void TLCBMaster::setAwaitingAck(bool on) {
    std::lock_guard lock(ackMutex_);
    awaitingAck_ = on;
}

void TLCBMaster::writeFrame(const PanelFrame &frame) {
    port_.write(frame.bytes.data(), frame.length());
    clock_.sleepMs(kByteTimeMs * frame.length());
    port_.setRts(false);
    // A port without modem lines (a pseudo-terminal) never holds the line.
    for (uint32_t waited = 0; port_.dsr().value_or(false) && waited < kReleaseWaitMs; ++waited) clock_.sleepMs(1);
    sentAt_ = clock_.nowMs();
}

void TLCBMaster::waitForAck() {
    while (awaitingAck() && clock_.nowMs() - sentAt_ < kAckWaitMs) clock_.sleepMs(1);
}

void TLCBMaster::TransmitMsg(const PanelFrame &frame) {
    const int line = line_.masterLine();
    if (frame.length() < 2) {
        LogLineBytes16(line, "Отсылка: левые данные ", frame.bytes, 3);
        return;
    }
    LogLineBytes16(line, "Отсылка: ", frame.bytes, 7);
    writeFrame(frame);
    if (!NeedsAcknowledgement(frame.code()) || frame.address() == PanelFrame::kBroadcastAddress) return;
    setAwaitingAck(true);
    waitForAck();
    if (!awaitingAck()) return;
    port_.setRts(true);
    for (uint32_t waited = 0; !port_.dsr().value_or(true) && waited < kRepeatGrantWaitMs; ++waited) clock_.sleepMs(1);
    LogLineBytes16(line, "Повторная отсылка: ", frame.bytes, 6);
    writeFrame(frame);
    waitForAck();
    // Not sent a third time: the next frame starts without a wait left over.
    setAwaitingAck(false);
}

void TLCBMaster::FrameReceived(const PanelFrame &frame) {
    if (frame.code() != 0) LogLineBytes16(line_.masterLine(), "Пришла посылка ", frame.bytes, 7);
    if (frame.code() == kCodeAcknowledge) setAwaitingAck(false);
    line_.DeliverFrame(frame);
    activity_ = true;
}

void TLCBMaster::SupervisionStep() {
    if (activity_.exchange(false)) {
        silentPeriod_ = false;
        if (lost_.exchange(false)) line_.DeliverFrame(PanelFrame::connectionRestored());
        return;
    }
    if (silentPeriod_ && !lost_) {
        line_.DeliverFrame(PanelFrame::connectionLost(6));
        lost_ = true;
    }
    silentPeriod_ = true;
    line_.ReInitCom();
}

}  // namespace lintra
