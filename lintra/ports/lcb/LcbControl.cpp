#include "lintra/ports/lcb/LcbControl.h"

#include <cstring>
#include <mutex>

#include "lintra/host/MessageBox.h"
#include "lintra/ports/FrameToRecord.h"
#include "lintra/ports/LocalTime.h"
#include "lintra/ports/intlcb/ControllerMailboxService.h"
#include "lintra/ports/lines/PanelPort.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

TLCBControl::TLCBControl(int line, tessel::Clock &clock) : TPortControl(line), clock_(clock) {}

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
    int error = 0;
    std::unique_ptr<Port> opened = TPanelPort::OpenDevice(port, &error);
    if (!opened) {
        LogMain("TLCBControl.InitCom: " + port + ": " + std::strerror(error), 2);
        host::showMessageBox("Не удается открыть последовательный порт", port, host::kMessageBoxIconStop);
        return false;
    }
    return Open(std::move(opened), true);
}

bool TLCBControl::Open(std::unique_ptr<Port> port, bool threads) {
    port_ = std::move(port);
    if (!port_->setLine(kLineSettings)) {
        LogLine(line(), "TLCBControl.InitCom: " + std::string(std::strerror(port_->lastError())), 2);
        return false;
    }
    port_->setTimeouts(TLcbReceiver::kTimeouts);
    master_ = std::make_unique<TLCBMaster>(*this, *port_, clock_);
    receiver_ = std::make_unique<TLcbReceiver>(*port_, clock_, line());
    transmitter_ = std::make_unique<TLcbTransmitter>(*port_, clock_, *master_, outQueue());
    // Pulsed before the threads exist, so that nothing else uses the port meanwhile.
    PulseControlLines();
    if (threads) startThreads();
    return true;
}

void TLCBControl::startThreads() {
    timer_ = std::make_unique<TLcbLoopThread>(
        "TLCBMaster", TLcbLoopThread::Loop{TLCBMaster::kSupervisionMs, TLCBMaster::kSupervisionMs,
                                           [this] { SupervisionStep(); }, nullptr});
    comThread_ = std::make_unique<TLcbLoopThread>(
        "TComThread", TLcbLoopThread::Loop{kFirstPauseMs, kReceivePauseMs, [this] { ReceiveStep(); }, nullptr});
    outThread_ = std::make_unique<TLcbLoopThread>(
        "TOutThread", TLcbLoopThread::Loop{kFirstPauseMs, kTransmitPauseMs,
                                           [this] {
                                               TransmitStep();
                                               ServeMailbox();
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
    port_->setDtr(true);
    port_->setRts(true);
    clock_.sleepMs(kPulseMs);
    port_->setDtr(false);
    port_->setRts(false);
    if (transmitter_ && transmitter_->rtsRaised()) port_->setRts(true);
}

bool TLCBControl::ReInitCom() {
    paused_ = true;
    LogLine(line(), "TLCBControl.ReInitCom", 6);
    bool reopened = false;
    {
        std::unique_lock hold(portUse_);
        clock_.sleepMs(kReopenPauseMs);
        port_->purge();
        reopened = port_->setLine(kLineSettings);
        port_->setTimeouts(TLcbReceiver::kTimeouts);
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
    std::shared_lock use(portUse_);
    if (paused_) return;
    std::optional<PanelFrame> frame = receiver_->Receive();
    // A realigned frame may already be whole: take it at once.
    while (frame) {
        if (IsValidFrame(*frame)) {
            master_->FrameReceived(*frame);
            return;
        }
        LogLineBytes16(line(), "Несовпадение контрольной суммы ", frame->bytes, 4);
        master_->NoteActivity();
        frame = receiver_->Realign(*frame);
    }
}

void TLCBControl::DeliverFrame(const PanelFrame &frame) {
    EventRecord record = EventFrameToRecord(frame, SystemLocalTime());
    record.line = static_cast<uint16_t>(line());
    SendEvInfo(record);
}

void TLCBControl::ServeMailbox() {
    if (!closed()) ServeControllerMailbox(clock_, line());
}

}  // namespace lintra
