#include "lintra/ports/intlcb/IntLcbMaster.h"

#include <string>

#include "lintra/ports/intlcb/HexText.h"

namespace lintra {
namespace {

constexpr uint32_t kNoUnitPauseMs = 100;
constexpr uint32_t kBeforeBroadcastMs = 50;
constexpr uint32_t kCommandRepeatPauseMs = 200;
constexpr uint8_t kShortAnswerLength = 6;
constexpr uint8_t kCodeUnitCommand8 = 8;

PanelFrame shortFrame(uint8_t address, uint8_t code) {
    PanelFrame frame;
    frame.bytes[0] = 0xA4;
    frame.bytes[1] = address;
    frame.bytes[2] = code;
    FrameChecksum(frame);
    return frame;
}

uint32_t pauseAfterBroadcast(const PanelFrame &command) {
    if (command.code() != kCodeUnitCommand8) return 50;
    return command.param(0) < 5 ? 100 : 200;
}

const char *errorText(uint8_t errorCode) {
    switch (errorCode) {
        case 1: return "Ошибка связи ";
        case 2:
        case 3: return "Команда не поддерживается ";
        case 4: return "Невозможно выполнить в данный момент ";
        default: return "Ошибка связи неизвестная ";
    }
}

}  // namespace

TIntLCBMaster::TIntLCBMaster(int line, TLcbTransport &transport, TQueue<PanelFrame> &queue, tessel::Clock &clock,
                             const PolicySettings &policy, Hooks hooks)
    : line_(line), transport_(transport), queue_(queue), clock_(clock), policy_(policy), hooks_(std::move(hooks)),
      units_(line, clock, policy) {}

void TIntLCBMaster::log(const char *text, const PanelFrame &frame, int level) const {
    if (LineLogEnabled(line_, level)) LogLineBytes16(line_, text, frame.bytes, level);
}

void TIntLCBMaster::ServeContr() {
    if (!serving()) return;
    if (hooks_.serveMailbox) hooks_.serveMailbox();
    if (const auto command = queue_.Get()) {
        if (command->isInternal()) return;
        if (command->address() == PanelFrame::kBroadcastAddress)
            broadcast(*command);
        else
            sendCommand(*command);
    } else if (polling()) {
        poll();
    }
}

void TIntLCBMaster::poll() {
    const auto unit = units_.ChooseUnit();
    if (!unit) {
        clock_.sleepMs(kNoUnitPauseMs);
        return;
    }
    const bool repeat = policy_.special && units_.noAnswerCount(*unit) > 0;
    PanelFrame request = shortFrame(*unit, repeat ? kCodeRepeatLast : kCodePoll);
    if (repeat) LogLine(line_, "Запрашиваем повторную отсылку", 7);
    log("Опрос: ", request, 8);
    transport_.TransmitMsg(request);
    PanelFrame answer;
    const bool answered = transport_.GetAnswer(answer);
    if (!answered || answer.code() == PanelFrame::kCodeErrorAnswer) {
        request.bytes[2] = answered ? PanelFrame::kCodeErrorAnswer : kCodeNoAnswer;
        CountUnit(request);
    } else if (answer.code() != 0) {
        takeAnswer(*unit, answer);
    } else {
        emptyQueueAnswer(*unit, answer);
    }
}

void TIntLCBMaster::takeAnswer(uint8_t unit, const PanelFrame &answer) {
    log("From queue: ", answer, 7);
    if (transport_.checksAnswers() && !IsValidFrame(answer)) return;
    if (answer.code() == kCodeNoAnswer) {
        units_.countMissing(unit);
        units_.ApplyExclusion(unit, TUnitTables::Caller::SilentReport);
    } else {
        if (units_.noAnswerCount(unit) != 0) {
            if (units_.isLastAnswer(unit, answer)) {
                LogLine(line_, "Повтор ответа совпал с последним", 7);
                return;
            }
            units_.storeLastAnswer(unit, answer);
            deliverRestored(unit);
        }
        units_.resetMissing(unit);
    }
    if (answer.length() < kShortAnswerLength && policy_.shortTimeout != 0)
        clock_.sleepMs(static_cast<uint32_t>(policy_.shortTimeout));
    hooks_.deliver(answer);
}

void TIntLCBMaster::emptyQueueAnswer(uint8_t unit, const PanelFrame &answer) {
    log("Controller queue is empty:", answer, 8);
    if (units_.noAnswerCount(unit) != 0) deliverRestored(unit);
    units_.resetMissing(unit);
    if (LineLogEnabled(line_, 8)) LogLine(line_, "1. Пропустим цикл опроса для контроллера " + Hex2(unit), 8);
    units_.setSkipCount(unit, static_cast<uint32_t>(std::max(policy_.skipIfEmpty, 0)));
}

void TIntLCBMaster::deliverRestored(uint8_t unit) { hooks_.deliver(shortFrame(unit, kCodeUnitRestored)); }

void TIntLCBMaster::broadcast(const PanelFrame &command) {
    clock_.sleepMs(kBeforeBroadcastMs);
    log("Команда: ", command, 7);
    transport_.TransmitMsg(command);
    clock_.sleepMs(pauseAfterBroadcast(command));
}

void TIntLCBMaster::sendCommand(const PanelFrame &command) {
    log("Команда: ", command, 7);
    transport_.TransmitMsg(command);
    PanelFrame answer;
    bool answered = transport_.GetAnswer(answer);
    if (answered && answer.code() == PanelFrame::kCodeErrorAnswer && errorAcceptedAtOnce(command, answer)) return;
    if (!answered || answer.code() == PanelFrame::kCodeErrorAnswer) {
        clock_.sleepMs(kCommandRepeatPauseMs);
        log("Повторная посылка команды: ", command, 6);
        transport_.TransmitMsg(command);
        answer = PanelFrame{};
        answered = transport_.GetAnswer(answer);
        if (!answered || answer.code() == PanelFrame::kCodeErrorAnswer) {
            PanelFrame counted = command;
            counted.bytes[2] = answered ? PanelFrame::kCodeErrorAnswer : kCodeNoAnswer;
            CountUnit(counted);
            return;
        }
    }
    commandDone(command, answer);
}

// Error codes 2 and 3 (command not supported) are final: delivered at once, never repeated.
bool TIntLCBMaster::errorAcceptedAtOnce(const PanelFrame &command, const PanelFrame &answer) {
    const uint8_t errorCode = answer.param(0);
    if (LineLogEnabled(line_, 4)) log((std::string(errorText(errorCode)) + Hex2(command.address())).c_str(), answer, 4);
    if (errorCode != 2 && errorCode != 3) return false;
    units_.resetMissing(command.address());
    log("Oтвет: ", answer, 7);
    hooks_.deliver(answer);
    return true;
}

void TIntLCBMaster::commandDone(const PanelFrame &command, const PanelFrame &answer) {
    const uint8_t unit = command.address();
    if (answer.code() != 0) {
        units_.resetMissing(unit);
        log("Oтвет: ", answer, 7);
        hooks_.deliver(answer);
        return;
    }
    const bool wasSilent = units_.noAnswerCount(unit) != 0;
    log(wasSilent ? "Восстановлена связь: " : "Пустой ответ: ", command, 7);
    hooks_.deliver(shortFrame(PanelFrame::kInternalAddress,
                              wasSilent ? kCodeUnitRestored : PanelFrame::kCodeEmptyAnswer));
    units_.storeLastAnswer(unit, answer);
    units_.resetMissing(unit);
}

void TIntLCBMaster::CountUnit(PanelFrame frame) {
    frame.bytes[0] = 0xA4;
    FrameChecksum(frame);
    const uint8_t unit = frame.address();
    const uint32_t count = units_.countMissing(unit);
    units_.ApplyExclusion(unit, TUnitTables::Caller::CountUnit);
    if (LineLogEnabled(line_, 6))
        LogLine(line_,
                "No answer event. Addr:" + Hex2(unit) + ", NoConn: " + std::to_string(count) +
                    ", TotalNoConn:" + std::to_string(units_.totalMissing()),
                6);
    hooks_.deliver(frame);
}

}  // namespace lintra
