// The polling of one panel: joining its port, the speed modes, and one polling step: a queued
// command with its answer, or a poll for the next stored message with the bookkeeping of
// message numbers, loss and restore of the connection.
#include <cstdlib>
#include <string>

#include "lintra/ports/lines/PultPolling.h"

#include "lintra/ports/FrameToRecord.h"
#include "lintra/ports/SpeedMode.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

namespace {

constexpr uint8_t kPollNext = 0x56;    // 'V'
constexpr uint8_t kPollNumber = 0x57;  // 'W'
constexpr int kRestoreCountdown = 5;
constexpr int kHuntSteps = 5;
constexpr uint16_t kNoNumber = 65535;
constexpr uint16_t kFormat0Last = 2049;  // format 0 numbers run 0..2049
constexpr uint16_t kWrapCheckFrom = 1023;

bool isErrorAnswer(const PanelFrame &frame) { return frame.code() == PanelFrame::kCodeErrorAnswer; }
// An error answer with error code 2 or 3 still counts as an answer.
bool isAccepted(const PanelFrame &frame) {
    return !isErrorAnswer(frame) || frame.bytes[3] == 2 || frame.bytes[3] == 3;
}

}  // namespace

TPultPolling::TPultPolling(int line, uint8_t address, tessel::Clock &clock, PultPollRules rules)
    : TPortControl(line), clock_(clock), address_(address), rules_(rules),
      restoreCountdown_(rules.restoreCountdownStart) {}

TPultPolling::~TPultPolling() {
    markTerminating();
    LeavePort();
}

void TPultPolling::LeavePort() {
    if (inPort_) port_->leave(this);
    inPort_ = false;
}

std::unique_ptr<TPultLink> TPultPolling::MakeLink(Port &port) {
    return std::make_unique<TPultLink>(port, clock_, line(), address_);
}

bool TPultPolling::JoinPort(std::shared_ptr<TPanelPort> port, bool owner) {
    port_ = std::move(port);
    portOwner_ = owner;
    link_ = MakeLink(port_->port());
    if (owner) {
        port_->setMode(static_cast<uint8_t>(LineState::StoredSpeedMode(line()) % kSpeedModeCount));
        SetConnParam();
        port_->port().setTimeouts(TPultLink::kTimeouts);
    } else {
        answeredOnce_ = true;
    }
    inPort_ = port_->enter(this, address_);
    return inPort_;
}

void TPultPolling::SetConnParam() { link_->SetConnParam(port_->mode()); }

void TPultPolling::followPortMode() {
    if (link_->speedMode() != port_->mode()) SetConnParam();
}

void TPultPolling::ChangePultMode() {
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

void TPultPolling::queueCommand(const PanelFrame &frame) {
    outQueue().Put(frame);
    newCommand_ = true;
}

EventRecord TPultPolling::internalRecord(const PanelFrame &frame) const {
    EventRecord record = link_->InternalReply(frame);
    if (rules_.recordsFromPanel) record.address = address_;
    return record;
}

// The panel's address unless the answer names another source: a message decoded into one of
// the library's own events (address 0xFB) or into a block of the panel keeps its address.
EventRecord TPultPolling::answerRecord(const PanelFrame &frame) {
    EventRecord &record = link_->lastRecord();
    record.address = address_;
    AnswerFrameToRecord(frame, LocalTimeOf(clock_), record);
    record.line = static_cast<uint16_t>(line());
    return record;
}

void TPultPolling::stepLog(const char *event, int level) const {
    if (rules_.stepLog) LogLine(line(), std::string("TPultControl.ServePult::") + event, level);
}
void TPultPolling::stepLogFrame(const char *event, const PanelFrame &frame, int level) const {
    if (rules_.stepLog) LogLineBytes16(line(), std::string("TPultControl.ServePult::") + event, frame.bytes, level);
}
void TPultPolling::resyncAfterFailure() {
    if (rules_.resyncAfterFailure) ResyncLine();
}

TPultPolling::StepRecords TPultPolling::ServePult() {
    StepRecords out;
    followPortMode();
    const std::optional<PanelFrame> command = outQueue().Peek();
    if (rules_.stepLog && LineLogEnabled(line(), 9))
        LogLine(line(),
                "TPultControl.ServePult:: silent=" + std::to_string(silent_ ? 1 : 0) +
                    " noconnskip=" + std::to_string(noconnskip_) + " havecmd=" + std::to_string(command ? 1 : 0) +
                    " reqenbld=" + std::to_string(reqenbld_ ? 1 : 0) + " auto_cnt=" + std::to_string(autoCnt_),
                9);
    if (!command && !reqenbld_) {
        out.idle = true;
        return out;
    }
    huntSpeed();
    if (command && serveCommand(*command, out)) return out;
    pollMessage(out);
    return out;
}

void TPultPolling::huntSpeed() {
    if (!rules_.huntSpeed || !silent_ || answeredOnce_) return;
    if (!portOwner_) {
        autoCnt_ = kHuntSteps;
        return;
    }
    if (--autoCnt_ > 0) return;
    ChangePultMode();
    autoCnt_ = kHuntSteps;
}

bool TPultPolling::serveCommand(const PanelFrame &command, StepRecords &out) {
    if (silent_ && newCommand_) {
        out.add(internalRecord(PanelFrame::connectionLost()));
        stepLog("Повторная выдача потери связи", 7);
        newCommand_ = false;
        return false;
    }
    newCommand_ = false;
    if (command.isInternal()) {
        outQueue().Get();
        return true;
    }
    stepLogFrame("Посылка команды", command, 8);
    TransmitMsg(command);
    PanelFrame answer;
    bool came = GetAnswer(answer);
    const bool firstAccepted = rules_.repeatOnAnyErrorAnswer ? !isErrorAnswer(answer) : isAccepted(answer);
    if (!(came && firstAccepted)) {
        stepLog(
            came ? "Ответ с сообщением об ошибке, повторная посылка" : "Неответ, повторная посылка", 8);
        resyncAfterFailure();
        TransmitMsg(command);
        came = GetAnswer(answer);
        // An answer to the repeat is taken like one to the first send: dropping it and
        // sending the command a third time would run it twice on the panel.
        if (!(came && isAccepted(answer))) {
            stepLog("Повторный неответ или ошибка", 8);
            const bool error = came && isErrorAnswer(answer);
            error ? link_->countErrorAnswer() : link_->countNoAnswer();
            resyncAfterFailure();
            if (silent_ || !reqenbld_) return true;
            silent_ = true;
            out.add(internalRecord(error ? PanelFrame::internal(4, PanelFrame::kCodeErrorAnswer)
                                         : PanelFrame::connectionLost()));
            stepLog("Выдача потери связи", 7);
            if (error) outQueue().Get();
            return false;
        }
    }
    answeredOnce_ = true;
    if (answer.code() != 0) {
        stepLog(isErrorAnswer(answer) ? "Выдача ответа об ошибке в команде" : "Выдача ответа", 8);
        out.add(answerRecord(answer));
    } else {
        stepLog("Выдача подтверждения(ответ пустой)", 8);
        out.add(internalRecord(PanelFrame::emptyAnswer()));
    }
    noconnskip_ = 0;
    outQueue().Get();
    return true;
}

uint16_t TPultPolling::numberToRequest() const {
    const uint16_t current = currentNumber_;
    if (answerFormat_ == 0 && !rules_.plainNumberWrap) return current < kFormat0Last ? current + 1 : 0;
    return static_cast<uint16_t>(current + 1);
}

void TPultPolling::pollMessage(StepRecords &out) {
    if (!reqenbld_) return;
    PanelFrame poll;
    if (numberRequest_) {
        const uint16_t number = numberToRequest();
        const uint8_t params[] = {static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)};
        poll = PanelFrame::command(address_, kPollNumber, params);
    } else {
        poll = PanelFrame::command(address_, kPollNext, {});
    }
    FrameChecksum(poll);
    stepLogFrame("Опрос пульта", poll, 8);
    TransmitMsg(poll);
    PanelFrame answer;
    if (GetAnswer(answer))
        pollAnswered(answer, out);
    else
        pollMissed(out);
}

void TPultPolling::applyResetRequest() {
    if (!link_->resetRequest()) return;
    currentNumber_ = requestedNumber_;
    numberRequest_ = false;
    link_->setResetRequest(false);
}

void TPultPolling::pollAnswered(const PanelFrame &answer, StepRecords &out) {
    stepLogFrame("Ответ пульта", answer, 8);
    restoreCountdown_ = kRestoreCountdown;  // every answered poll, whatever the line started with
    if (silent_) {
        silent_ = false;
        out.add(internalRecord(PanelFrame::connectionRestored()));
        stepLog("Выдача восстановления связи", 7);
    }
    if (!IsValidFrame(answer)) return;
    answeredOnce_ = true;
    const uint8_t n = answer.length();
    uint16_t number = 0;
    if (n == 11) {
        number = static_cast<uint16_t>(answer.bytes[8] << 8 | answer.bytes[9]);
        answerFormat_ = 0;
    } else if (n == 13) {
        number = static_cast<uint16_t>(answer.bytes[10] << 8 | answer.bytes[11]);
        answerFormat_ = 1;
    }

    if (n < 11 && answer.code() != 0) {  // a status answer
        out.add(answerRecord(answer));
        noconnskip_ = 0;
        applyResetRequest();
        // The panel has no message of the number asked for past the middle of its store: its
        // numbering wrapped, so ask for number 0 next.
        if (isErrorAnswer(answer) && numberRequest_ && answer.bytes[3] == 2 && currentNumber_ >= kWrapCheckFrom)
            currentNumber_ = kNoNumber;
        return;
    }
    const uint16_t current = currentNumber_;
    if (number == current) {
        numberRequest_ = false;
        return;
    }
    if (std::abs(int(number) - int(current)) >= 2 && current != kNoNumber && !numberRequest_) {
        numberRequest_ = true;
        requestedNumber_ = number;
        return;
    }
    out.add(answerRecord(answer));
    if (answerFormat_ == 0 ? requestedNumber_ == number : current > number) numberRequest_ = false;
    currentNumber_ = number;
    applyResetRequest();
}

void TPultPolling::pollMissed(StepRecords &out) {
    stepLog("Неответ пульта", 8);
    link_->countNoAnswer();
    resyncAfterFailure();
    const bool counts = alternation_;
    alternation_ = !alternation_;
    if (!counts || silent_) return;
    if (restoreCountdown_ > 0) --restoreCountdown_;
    if (restoreCountdown_ != 0) return;
    out.add(internalRecord(PanelFrame::connectionLost(6)));
    stepLog("Выдача потери связи", 7);
    silent_ = true;
}

}  // namespace lintra
