#include "lintra/ports/lcb/LcbControl.h"

#include <mutex>

#include "lintra/ports/FrameToRecord.h"
#include "lintra/ports/LocalTime.h"
#include "lintra/ports/commands/ControllerMailboxService.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

TLCBControl::TLCBControl(int line, tessel::Clock &clock) : TPortControl(line), clock_(clock), port_(line, clock) {}

TLCBControl::~TLCBControl() {
    markTerminating();
    clock_.sleepMs(kShutdownPauseMs);
    stopThreads();
    clock_.sleepMs(kShutdownPauseMs);
    transmitter_.reset();
    receiver_.reset();
    master_.reset();
}

bool TLCBControl::InitCom(const std::string &port, int line) {
    LogMain("TLCBControl.InitCom(" + port + ", " + std::to_string(line) + ")", 6);
    setPortName(port);
    return port_.InitCom(port) && start(true);
}

bool TLCBControl::Open(TControllerPort::Opener opener, bool threads) {
    port_.setOpener(std::move(opener), portName());
    return port_.Reopen() && start(threads);
}

bool TLCBControl::start(bool threads) {
    master_ = std::make_unique<TLCBMaster>(*this, port_, clock_);
    receiver_ = std::make_unique<TLcbReceiver>(port_, clock_, line());
    transmitter_ = std::make_unique<TLcbTransmitter>(port_, clock_, *master_, outQueue());
    // Pulsed before the threads exist, so that nothing else uses the port meanwhile.
    PulseControlLines();
    if (threads) startThreads();
    return true;
}

void TLCBControl::startThreads() {
    timer_ = std::make_unique<TLoopThread>("TLCBMaster", TLoopThread::Loop{TLCBMaster::kSupervisionMs, [this] {
                                                SupervisionStep();
                                                return TLCBMaster::kSupervisionMs;
                                            }});
    comThread_ = std::make_unique<TLoopThread>("TComThread", TLoopThread::Loop{kFirstPauseMs, [this] {
                                                   ReceiveStep();
                                                   return kReceivePauseMs;
                                               }});
    outThread_ = std::make_unique<TLoopThread>("TOutThread", TLoopThread::Loop{kFirstPauseMs,
                                                                             [this] {
                                                                                 TransmitStep();
                                                                                 ServeMailbox();
                                                                                 return kTransmitPauseMs;
                                                                             },
                                                                             [this] { transmitter_->DropRts(); }});
    timer_->Start();
    comThread_->Start();
    outThread_->Start();
}

void TLCBControl::stopThreads() {
    timer_.reset();
    comThread_.reset();
    outThread_.reset();
}

void TLCBControl::PulseControlLines() {
    port_.setDtr(true);
    port_.setRts(true);
    clock_.sleepMs(kPulseMs);
    port_.setDtr(false);
    port_.setRts(false);
    if (transmitter_ && transmitter_->rtsRaised()) port_.setRts(true);
}

bool TLCBControl::ReInitCom() {
    paused_ = true;
    LogLine(line(), "TLCBControl.ReInitCom", 6);
    bool reopened = false;
    {
        std::unique_lock hold(portUse_);
        clock_.sleepMs(kReopenPauseMs);
        reopened = port_.Reopen();
        PulseControlLines();
    }
    paused_ = false;
    LogLine(line(), "Line initialized, port " + portName(), 5);
    return reopened;
}

int TLCBControl::SendComMsg(const PanelFrame &frame, int /*priority: one queue only*/) {
    PanelFrame queued = frame;
    FrameChecksum(queued);
    outQueue().Put(queued);
    return static_cast<int>(outQueue().Free());
}

void TLCBControl::TransmitStep() {
    std::shared_lock use(portUse_);
    if (!paused_) transmitter_->Step();
}

void TLCBControl::ReceiveStep() {
    std::optional<PanelFrame> frame;
    {
        std::shared_lock use(portUse_);
        if (paused_ || !port_.isOpen()) return;
        frame = receiver_->Receive();
        // A realigned frame may already be whole: take it at once.
        while (frame && !IsValidFrame(*frame)) {
            LogLineBytes16(line(), "Несовпадение контрольной суммы ", frame->bytes, 4);
            master_->NoteActivity();
            frame = receiver_->Realign(*frame);
        }
    }
    // Delivered with the port let go: a delivery may wait for its collector, and a reopening
    // (the supervision's or a client's SMCReset) must not wait for that.
    if (frame) master_->FrameReceived(*frame);
}

void TLCBControl::DeliverFrame(const PanelFrame &frame) {
    EventRecord record = EventFrameToRecord(frame, LocalTimeOf(clock_));
    record.line = static_cast<uint16_t>(line());
    SendEvInfo(record);
}

// On a closed line too: the command is taken out of the mailbox and refused as for a closed
// line, instead of waiting there for the next line of this number.
void TLCBControl::ServeMailbox() { ServeControllerMailbox(clock_, line()); }

}  // namespace lintra
