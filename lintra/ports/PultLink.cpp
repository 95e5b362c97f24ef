#include "lintra/ports/PultLink.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "lintra/ports/FrameToRecord.h"
#include "lintra/ports/SpeedMode.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

const TPultLink::ReadTexts TPultLink::kAnswerTexts{"TPultControl.GetAnswer::", ")", "="};
const TPultLink::ReadTexts TPultLink::kDirectTexts{"TPultControl.SendCmdGetRepl::", ") ", "= "};

namespace {

constexpr int kTraceLevel = 10;
constexpr uint8_t kRestartMessage = 29;
constexpr uint8_t kResyncBytes = 20;

std::string errorText(int error) { return std::error_code(error, std::generic_category()).message(); }

bool isErrorAnswer(const PanelFrame &frame) { return frame.code() == PanelFrame::kCodeErrorAnswer; }

// An error answer whose error code is 2 or 3 still counts as an answer.
bool isAccepted(const PanelFrame &frame) {
    return !isErrorAnswer(frame) || frame.bytes[3] == 2 || frame.bytes[3] == 3;
}

}  // namespace

TPultLink::TPultLink(Port &port, tessel::Clock &clock, int line, uint8_t address)
    : port_(port), clock_(clock), line_(line), address_(address) {}

void TPultLink::SetConnParam(uint8_t mode) {
    mode_ = mode % kSpeedModeCount;
    const SpeedMode &speed = SpeedModeOf(mode_);
    if (!port_.setLine(speed.line))
        LogLine(line_, "TPultControl.SetConnParam:: " + errorText(port_.lastError()), 4);
    port_.setDtr(false);  // a port without modem lines has nothing to turn off
    LogLine(line_, std::string("TPultControl.SetConnParam:: ") + speed.name, 6);
    clock_.sleepMs(100);
}

void TPultLink::writeLogged(const char *op, const uint8_t *data, size_t count, const PanelFrame &frame) {
    if (LineLogEnabled(line_, kTraceLevel))
        LogLineBytes16(line_, std::string(op) + "WriteFile(" + std::to_string(count) + ") ", frame.bytes,
                       kTraceLevel);
    const int written = port_.write(data, count);
    if (written < 0)
        LogLine(line_, std::string(op) + "WriteFile error: " + errorText(port_.lastError()), 4);
    else if (LineLogEnabled(line_, kTraceLevel))
        LogLine(line_, std::string(op) + "WriteFile=" + std::to_string(written), kTraceLevel);
}

// The line's RTS control is "toggle": up while bytes go out, down once they have left. The port
// has no such mode, so every burst is wrapped here.
template <typename Send>
void TPultLink::withRts(Send &&send) {
    port_.setRts(true);
    send();
    port_.flush();
    port_.setRts(false);
}

void TPultLink::writeFrame(const PanelFrame &frame, const char *op) {
    const uint8_t n = frame.length();
    withRts([&] {
        if (!SpeedModeOf(mode_).ninthBit) {
            writeLogged(op, frame.bytes.data(), n, frame);
            return;
        }
        port_.setParity(Parity::Mark);
        writeLogged(op, frame.bytes.data(), 1, frame);
        port_.flush();
        port_.setParity(Parity::Space);
        clock_.sleepMs(2);
        writeLogged(op, frame.bytes.data() + 1, n - 1u, frame);
    });
}

void TPultLink::TransmitMsg(const PanelFrame &frame) {
    port_.purge();
    if ((++sends_ & 0xFF) == 0 && saveState_) {
        if (saveState_())
            LogLine(line_, "Состояние записано", 5);
        else
            LogLine(line_, "Ошибка при записи состояния", 2);
    }
    if (frame.length() < 2) {
        LogLineBytes16(line_, "Отсылка: левые данные", frame.bytes, 3);
        return;
    }
    LogLineBytes16(line_, "Отсылка: ", frame.bytes, 8);
    writeFrame(frame, "TPultControl.TransmitMsg::");
}

int TPultLink::readLogged(const ReadTexts &texts, uint8_t *data, size_t count) {
    const int got = port_.read(data, count);
    if (got < 0) LogLine(line_, std::string(texts.op) + "ReadFile error: " + errorText(port_.lastError()), 4);
    return std::max(got, 0);
}

TPultLink::FrameRead TPultLink::readFrame(const ReadTexts &texts, uint32_t firstByteConstantMs,
                                          PanelFrame &buffer) {
    const std::string op = texts.op;
    buffer.bytes.fill(0xEE);
    if (LineLogEnabled(line_, kTraceLevel)) LogLine(line_, op + "ReadFile(1)", kTraceLevel);
    const PortTimeouts normal = port_.timeouts();
    if (firstByteConstantMs) {
        PortTimeouts firstByte = normal;
        firstByte.readTotalConstantMs = firstByteConstantMs;
        port_.setTimeouts(firstByte);
    }
    FrameRead read;
    read.firstCount = readLogged(texts, buffer.bytes.data(), 1);
    if (firstByteConstantMs) port_.setTimeouts(normal);
    if (LineLogEnabled(line_, kTraceLevel))
        LogLine(line_, op + "ReadFile=" + std::to_string(read.firstCount), kTraceLevel);
    // A length below 2 (0xA0, 0xA1) announces no frame at all: the rest is never read.
    read.validFirst = read.firstCount == 1 && (buffer.bytes[0] & 0xF0) == PanelFrame::kLengthMarker &&
                      buffer.length() >= 2;
    if (!read.validFirst) return read;
    const size_t rest = buffer.length() - 1u;
    if (LineLogEnabled(line_, kTraceLevel))
        LogLine(line_, op + "ReadFile(" + std::to_string(rest) + texts.restCallEnd, kTraceLevel);
    read.restCount = readLogged(texts, buffer.bytes.data() + 1, rest);
    if (LineLogEnabled(line_, kTraceLevel))
        LogLine(line_, op + "ReadFile" + texts.restResultSep + std::to_string(read.restCount), kTraceLevel);
    read.complete = static_cast<size_t>(read.restCount) == rest;
    return read;
}

void TPultLink::noteRead(bool good) {
    int32_t counter = answerCounter_;
    answerCounter_ = good ? std::max(counter, 0) + 1 : std::min(counter, 0) - 1;
}

bool TPultLink::GetAnswer(PanelFrame &buffer) {
    const FrameRead read = readFrame(kAnswerTexts, 0, buffer);
    if (read.complete) {
        noteRead(true);
        LogLineBytes16(line_, "Пришла посылка ", buffer.bytes, 8);
        if (buffer.code() == 0x57 && buffer.bytes[5] == kRestartMessage) resetRequest_ = true;
        return true;
    }
    if (read.validFirst)
        LogLineBytes16(line_, "Не дождались конца ответа(" + std::to_string(read.restCount) + ")", buffer.bytes, 6);
    else
        LogLine(line_, "Неответ пакета(" + std::to_string(read.firstCount) + ")", 6);
    port_.purge();
    noteRead(false);
    clock_.sleepMs(500);
    return false;
}

void TPultLink::ResyncLine() {
    LogLine(line_,
            "Статистика по обмену: число отсылок - " + std::to_string(sends_) + ", число неответов - " +
                std::to_string(noAnswers_) + ", число непонятых посылок - " + std::to_string(errorAnswers_),
            4);
    const uint8_t zeros[kResyncBytes] = {};
    withRts([&] { port_.write(zeros, sizeof zeros); });
    clock_.sleepMs(200);
}

EventRecord TPultLink::InternalReply(const PanelFrame &internal) const {
    EventRecord record = EventFrameToRecord(internal, LocalTimeOf(clock_));
    record.line = static_cast<uint16_t>(line_);
    return record;
}

TPultLink::Reply TPultLink::directAttempt(const PanelFrame &command) {
    LogLineBytes16(line_, "Direct send: ", command.bytes, 7);
    port_.purge();
    ++sends_;
    writeFrame(command, "TPultControl.SendCmdGetRepl::");

    // The panel may take a while to start its answer; the rest follows at the line's pace.
    Reply reply{false, {}};
    reply.came = readFrame(kDirectTexts, kDirectFirstByteMs, reply.frame).complete;
    if (!reply.came) reply.frame.bytes[2] = 0;
    return reply;
}

TPultLink::DirectReply TPultLink::SendCmdGetRepl(PanelFrame command) {
    if (!FrameChecksum(command)) {
        LogLineBytes16(line_, "Отсылка: левые данные", command.bytes, 3);
        return {Outcome::NoAnswer, InternalReply(PanelFrame::connectionLost())};
    }
    Reply reply = directAttempt(command);
    if (!(reply.came && isAccepted(reply.frame))) {
        (reply.came && isErrorAnswer(reply.frame)) ? countErrorAnswer() : countNoAnswer();
        reply = directAttempt(command);
        if (!(reply.came && !isErrorAnswer(reply.frame))) {
            const bool error = reply.came && isErrorAnswer(reply.frame);
            error ? countErrorAnswer() : countNoAnswer();
            LogLine(line_,
                    std::string(error ? "Direct send: error on speed " : "Direct send: no answer on speed ") +
                        SpeedModeOf(mode_).name,
                    6);
            LogLineBytes16(line_, "received: ", reply.frame.bytes, 7);
            if (error) return {Outcome::ErrorAnswer, InternalReply(PanelFrame::errorAnswer(reply.frame.bytes[3]))};
            return {Outcome::NoAnswer, InternalReply(PanelFrame::connectionLost())};
        }
    }
    LogLineBytes16(line_, "SendCmdGetReply: ", reply.frame.bytes, 7);
    if (reply.frame.code() == 0) return {Outcome::Answered, InternalReply(PanelFrame::emptyAnswer())};
    AnswerFrameToRecord(reply.frame, LocalTimeOf(clock_), lastRecord_);
    lastRecord_.line = static_cast<uint16_t>(line_);
    lastRecord_.address = address_;
    return {Outcome::Answered, lastRecord_};
}

}  // namespace lintra
