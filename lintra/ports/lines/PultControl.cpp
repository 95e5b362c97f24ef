#include "lintra/ports/lines/PultControl.h"

#include <cstring>

#include "lintra/host/MessageBox.h"
#include "lintra/ports/FrameToRecord.h"
#include "lintra/ports/SpeedMode.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {


TPultControl::TPultControl(int line, uint8_t address, tessel::Clock &clock, PollRules rules)
    : TPortControl(line), clock_(clock), address_(address), rules_(rules),
      restoreCountdown_(rules.restoreCountdownStart) {}

TPultControl::~TPultControl() {
    markTerminating();
    LineState::SetMsgNumber(line(), currentNumber_);
    // Waits for a polling step of this line to end; the port and its thread go with the last line.
    if (inPort_) port_->leave(this);
}

bool TPultControl::InitCom(const std::string &port, int line) {
    LogMain("TPultControl.InitCom(" + port + "," + std::to_string(line) + "), N=" +
                std::to_string(LineState::MsgNumber(line)),
            6);
    setPortName(port);
    const std::string device = TPanelPort::DeviceOf(port);
    if (auto other = FindPanelLine(device)) return JoinPort(other->sharedPanelPort(), false);

    int error = 0;
    std::unique_ptr<Port> opened = TPanelPort::OpenDevice(port, &error);
    if (!opened) {
        LogMain("TPultControl.InitCom: " + port + ": " + std::strerror(error), 2);
        host::showMessageBox("Не удается открыть последовательный порт", port, host::kMessageBoxIconStop);
        return false;
    }
    if (!JoinPort(std::make_shared<TPanelPort>(std::move(opened), device), true)) return false;
    port_->startDriver();
    LogLine(this->line(), "Line initialized, port " + port + "/" + SpeedModeOf(port_->mode()).name, 5);
    return true;
}

bool TPultControl::JoinPort(std::shared_ptr<TPanelPort> port, bool owner) {
    port_ = std::move(port);
    portOwner_ = owner;
    link_ = std::make_unique<TPultLink>(port_->port(), clock_, line(), address_);
    link_->setSaveState([this] {
        LineState::SetMsgNumber(line(), currentNumber_);
        return SaveLineState();
    });
    if (owner) {
        port_->setMode(static_cast<uint8_t>(LineState::StoredSpeedMode(line()) % kSpeedModeCount));
        SetConnParam();
        port_->port().setTimeouts(TPultLink::kTimeouts);
    } else {
        answeredOnce_ = true;
    }
    currentNumber_ = LineState::MsgNumber(line());
    inPort_ = port_->enter(this, address_);
    return inPort_;
}

bool TPultControl::ReInitCom() {
    SetConnParam();
    return true;
}

void TPultControl::SetConnParam() { link_->SetConnParam(port_->mode()); }

void TPultControl::followPortMode() {
    if (link_->speedMode() != port_->mode()) SetConnParam();
}

void TPultControl::ChangePultMode() {
    port_->port().purge();
    clock_.sleepMs(100);
    const uint8_t old = port_->mode();
    const uint8_t fixed = LineSpeedMode(line());
    const uint8_t next = static_cast<uint8_t>((fixed ? fixed : old + 1) % kSpeedModeCount);
    LineState::SetStoredSpeedMode(line(), next);
    port_->setMode(next);
    LogLine(line(), "TPultControl.ChangePultMode:: " + std::to_string(old) + "->" + std::to_string(next), 9);
    SetConnParam();
    clock_.sleepMs(100);
}

bool TPultControl::ChangePultModeLocked() {
    if (!port_->lock().lock(TPortLock::Who::Client, kDirectLockWaitMs)) return false;
    ChangePultMode();
    port_->lock().unlock();
    return true;
}

int TPultControl::SendComMsg(const PanelFrame &frame, int /*priority: panel lines have one queue*/) {
    if (frame.isInternal()) {
        if (frame.code() == PanelFrame::kCodeConnectionLost) reqenbld_ = false;
        else if (frame.code() == PanelFrame::kCodeConnectionRestored) reqenbld_ = true;
        else return -1;
        return 0;
    }
    PanelFrame queued = frame;
    queued.bytes[0] = static_cast<uint8_t>(PanelFrame::kLengthMarker | queued.length());
    FrameChecksum(queued);
    outQueue().Put(queued);
    newCommand_ = true;
    return static_cast<int>(outQueue().Free());
}

void TPultControl::SendCmdGetRepl(const PanelFrame &command, EventRecord &reply) {
    if (silent_) {
        reply = internalRecord(PanelFrame::connectionLost());
        LogLine(line(), "No connection to panel", 5);
        return;
    }
    // Never overlaps a polling exchange: without the lock nothing is sent, and the caller
    // gets the same answer as from a panel that did not reply.
    if (!port_->lock().lock(TPortLock::Who::Client, kDirectLockWaitMs)) {
        reply = internalRecord(PanelFrame::connectionLost());
        LogLine(line(), "Direct send: port busy", 2);
        return;
    }
    clock_.sleepMs(20);
    followPortMode();
    const TPultLink::DirectReply direct = link_->SendCmdGetRepl(command);
    if (direct.outcome == TPultLink::Outcome::Answered) answeredOnce_ = true;
    else if (!answeredOnce_) ChangePultMode();
    reply = direct.record;
    port_->lock().unlock();
}

// The panel's address unless the answer names another source: a message decoded into one of
// the library's own events (address 0xFB) or into a block of the panel keeps its address.
EventRecord TPultControl::answerRecord(const PanelFrame &frame) {
    EventRecord &record = link_->lastRecord();
    record.address = address_;
    AnswerFrameToRecord(frame, SystemLocalTime(), record);
    record.line = static_cast<uint16_t>(line());
    return record;
}

}  // namespace lintra
