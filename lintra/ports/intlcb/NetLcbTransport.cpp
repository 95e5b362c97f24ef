#include "lintra/ports/intlcb/NetLcbTransport.h"

#include <cstdio>

#include "lintra/ports/intlcb/NetFraming.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

TNetLcbTransport::TNetLcbTransport(TNetConnector connector, tessel::Clock &clock, int line, std::string greeting,
                                   std::string peer)
    : connector_(std::move(connector)), clock_(clock), line_(line), greeting_(std::move(greeting)),
      peer_(std::move(peer)) {}

bool TNetLcbTransport::connect() {
    std::string error;
    stream_ = connector_(error);
    if (!stream_) {
        LogLine(line_, "TransmitMsg::Ошибка WinSock: " + error, 3);
        noConnection_ = true;
        return false;
    }
    LogLine(line_, "Соеднились: " + peer_, 5);
    const auto greeting = NetMessage(kNetTypeGreeting, reinterpret_cast<const uint8_t *>(greeting_.data()),
                                     greeting_.size());
    stream_->sendAll(greeting.data(), greeting.size(), kSendWaitMs);
    return true;
}

void TNetLcbTransport::TransmitMsg(const PanelFrame &frame) {
    if (!stream_ && !connect()) return;
    const auto message = NetMessage(kNetTypeFrame, frame.bytes.data(), frame.length());
    if (!stream_->sendAll(message.data(), message.size(), kSendWaitMs)) {
        // The answer wait sees the closed socket and fails; the next send reconnects.
        closeSocket();
        noConnection_ = true;
        return;
    }
    if (LineLogEnabled(line_, 9)) {
        char header[48];
        std::snprintf(header, sizeof header, "TransmitMsg::Отсылка: %X %X ", kNetTypeFrame, frame.length());
        LogLineBytes16(line_, header, frame.bytes, 9);
    }
    noConnection_ = false;
}

bool TNetLcbTransport::fail() {
    LogLine(line_, "GetAnswer::Закрываем сокет из-за ошибки или неответа", 5);
    closeSocket();
    clock_.sleepMs(kAfterCloseMs);
    answerDown();
    return false;
}

bool TNetLcbTransport::GetAnswer(PanelFrame &answer) {
    if (noConnection_ || !stream_) {
        answerDown();
        return false;
    }
    answer = PanelFrame{};
    switch (ReadNetFrame(*stream_, answer, kAnswerWaitMs, kAnswerWaitMs)) {
        case NetReadResult::Frame:
            if (LineLogEnabled(line_, 9)) LogLineBytes16(line_, "GetAnswer::Получено: ", answer.bytes, 9);
            answerUp();
            return true;
        case NetReadResult::WrongType:
            LogLine(line_, "GetAnswer::Приём: левый заголовок", 4);
            return fail();
        case NetReadResult::Malformed:
            LogLine(line_, "GetAnswer::Приняли не то...", 4);
            return fail();
        case NetReadResult::NoData:
            break;
    }
    return fail();
}

}  // namespace lintra
