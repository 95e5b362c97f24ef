#include "lintra/ports/panel/PultControl.h"

#include <cstring>

#include "lintra/host/MessageBox.h"
#include "lintra/ports/SpeedMode.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

std::shared_ptr<TPultControl> TPultControl::FindOnDevice(const std::string &device, int address) {
    for (int line = 0; line < kLineCount; ++line) {
        auto panel = LineTable::GetAs<TPultControl>(line);
        if (panel && panel->panelPort() && panel->panelPort()->name() == device &&
            (address < 0 || panel->address() == address))
            return panel;
    }
    return nullptr;
}

TPultControl::TPultControl(int line, uint8_t address, tessel::Clock &clock)
    : TPultPolling(line, address, clock, PultPollRules{}) {}

TPultControl::~TPultControl() {
    markTerminating();
    LeavePort();
    LineState::SetMsgNumber(line(), currentMsgNumber());
}

bool TPultControl::InitCom(const std::string &port, int line) {
    LogMain("TPultControl.InitCom(" + port + "," + std::to_string(line) + "), N=" +
                std::to_string(LineState::MsgNumber(line)),
            6);
    setPortName(port);
    const std::string device = TPanelPort::DeviceOf(port);
    if (auto other = FindOnDevice(device)) return JoinPort(other->sharedPanelPort(), false);

    int error = 0;
    std::unique_ptr<Port> opened = TPanelPort::OpenDevice(port, &error);
    if (!opened) {
        LogMain("TPultControl.InitCom: " + port + ": " + std::strerror(error), 2);
        host::showMessageBox("Не удается открыть последовательный порт", port, host::kMessageBoxIconStop);
        return false;
    }
    if (!JoinPort(std::make_shared<TPanelPort>(std::move(opened), device), true)) return false;
    panelPort()->startDriver();
    LogLine(this->line(), "Line initialized, port " + port + "/" + SpeedModeOf(panelPort()->mode()).name, 5);
    return true;
}

bool TPultControl::JoinPort(std::shared_ptr<TPanelPort> port, bool owner) {
    setCurrentMsgNumber(LineState::MsgNumber(line()));
    if (!TPultPolling::JoinPort(std::move(port), owner)) return false;
    mutableLink()->setSaveState([this] {
        LineState::SetMsgNumber(line(), currentMsgNumber());
        return SaveLineState();
    });
    return true;
}

bool TPultControl::ReInitCom() {
    SetConnParam();
    return true;
}

bool TPultControl::ChangePultModeLocked() {
    if (!panelPort()->lock().lock(TPortLock::Who::Client, kDirectLockWaitMs)) return false;
    ChangePultMode();
    panelPort()->lock().unlock();
    return true;
}

int TPultControl::SendComMsg(const PanelFrame &frame, int /*priority: panel lines have one queue*/) {
    if (frame.isInternal()) {
        if (frame.code() == PanelFrame::kCodeConnectionLost) setMessagePolling(false);
        else if (frame.code() == PanelFrame::kCodeConnectionRestored) setMessagePolling(true);
        else return -1;
        return 0;
    }
    PanelFrame queued = frame;
    queued.bytes[0] = static_cast<uint8_t>(PanelFrame::kLengthMarker | queued.length());
    FrameChecksum(queued);
    queueCommand(queued);
    return static_cast<int>(outQueue().Free());
}

void TPultControl::SendCmdGetRepl(const PanelFrame &command, EventRecord &reply) {
    if (silent()) {
        reply = internalRecord(PanelFrame::connectionLost());
        LogLine(line(), "No connection to panel", 5);
        return;
    }
    // Never overlaps a polling exchange: without the lock nothing is sent, and the caller
    // gets the same answer as from a panel that did not reply.
    TPortLock &lock = panelPort()->lock();
    if (!lock.lock(TPortLock::Who::Client, kDirectLockWaitMs)) {
        reply = internalRecord(PanelFrame::connectionLost());
        LogLine(line(), "Direct send: port busy", 2);
        return;
    }
    clock().sleepMs(20);
    followPortMode();
    const TPultLink::DirectReply direct = mutableLink()->SendCmdGetRepl(command);
    if (direct.outcome == TPultLink::Outcome::Answered) markAnswered();
    else if (!answeredOnce()) ChangePultMode();
    reply = direct.record;
    lock.unlock();
}

}  // namespace lintra
