#pragma once
// TLCBMaster: the half-duplex master of a line-controller line. It writes a frame once the
// controller has granted the line, waits for the acknowledgement of the commands that get one
// (and sends such a command once more when none came), takes every frame the receive side
// completes, and supervises the controller: every supervision step that saw no frame reopens
// the line, and two silent steps in a row report the connection lost.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "lintra/host/Port.h"
#include "lintra/ports/PanelFrame.h"
#include "platform/Clock.h"

namespace lintra {

// What the master needs of the line it serves.
class TLcbMasterLine {
public:
    virtual int masterLine() const = 0;
    // Turns a received (or internal) frame into the line's record and delivers it.
    virtual void DeliverFrame(const PanelFrame &frame) = 0;
    // Reopens the port after a silent supervision period.
    virtual bool ReInitCom() = 0;

protected:
    ~TLcbMasterLine() = default;
};

class TLCBMaster {
public:
    static constexpr uint32_t kSupervisionMs = 8000;
    static constexpr uint32_t kAckWaitMs = 200;
    static constexpr uint32_t kRepeatGrantWaitMs = 20;
    static constexpr uint32_t kByteTimeMs = 2;
    // The controller holds DSR while it takes the frame in; a controller stuck with DSR on
    // would otherwise hold the transmit thread for ever.
    static constexpr uint32_t kReleaseWaitMs = 100;
    static constexpr uint8_t kCodeAcknowledge = 0x64;

    // True for the command codes the controller acknowledges with code 0x64.
    static bool NeedsAcknowledgement(uint8_t code);

    TLCBMaster(TLcbMasterLine &line, Port &port, tessel::Clock &clock);

    // Sends one frame from the queue; the caller has raised RTS and seen DSR.
    void TransmitMsg(const PanelFrame &frame);
    // A frame completed by the receive side with a right checksum (or one handed in for
    // delivery): clears the acknowledgement wait on 0x64, delivers it, marks activity.
    void FrameReceived(const PanelFrame &frame);
    // A frame was completed, whatever its checksum: the controller is alive.
    void NoteActivity() { activity_ = true; }
    // One supervision period has ended.
    void SupervisionStep();

    bool awaitingAck() const;
    bool lost() const { return lost_.load(); }

private:
    void setAwaitingAck(bool on);
    // Writes the frame at the wire's pace, lets the line go and notes when.
    void writeFrame(const PanelFrame &frame);
    void waitForAck();

    TLcbMasterLine &line_;
    Port &port_;
    tessel::Clock &clock_;
    mutable std::mutex ackMutex_;
    bool awaitingAck_ = false;  // guarded by ackMutex_
    uint64_t sentAt_ = 0;       // transmit thread only
    std::atomic<bool> activity_{true};
    std::atomic<bool> silentPeriod_{false};
    std::atomic<bool> lost_{false};
};

}  // namespace lintra
