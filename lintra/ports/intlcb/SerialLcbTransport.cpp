#include "lintra/ports/intlcb/SerialLcbTransport.h"

#include <algorithm>
#include <string>

#include "lintra/ports/lines/ControllerPort.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

TSerialLcbTransport::TSerialLcbTransport(Port &port, tessel::Clock &clock, int line, std::function<void()> reopen)
    : port_(port), clock_(clock), line_(line), reopen_(std::move(reopen)) {
    port_.setTimeouts(TControllerPort::kTimeouts);
}

void TSerialLcbTransport::TransmitMsg(const PanelFrame &frame) {
    port_.purge();
    const uint8_t n = frame.length();
    if (n < 2) {
        LogLineBytes16(line_, "TransmitMsg::Отсылка: левые данные", frame.bytes, 3);
        return;
    }
    if (LineLogEnabled(line_, 9)) LogLineBytes16(line_, "TransmitMsg::Отсылка: ", frame.bytes, 9);
    port_.setParity(Parity::Mark);
    clock_.sleepMs(kParitySwitchMs);
    port_.write(frame.bytes.data(), 1);
    clock_.sleepMs(kParitySwitchMs);
    port_.flush();
    port_.setParity(Parity::Space);
    clock_.sleepMs(kParitySwitchMs);
    const int written = port_.write(frame.bytes.data() + 1, n - 1u);
    if (written < n - 1) {
        LogLine(line_,
                "TransmitMsg::Отослали " + std::to_string(std::max(written, 0)) + " байт вместо " +
                    std::to_string(n - 1),
                4);
        if (reopen_) reopen_();
        clock_.sleepMs(kAfterReopenMs);
    }
}

bool TSerialLcbTransport::readFirstByte(PanelFrame &answer) {
    const PortTimeouts normal = port_.timeouts();
    const uint32_t readWaitMs = normal.readTotalPerByteMs + normal.readTotalConstantMs;
    const uint64_t start = clock_.nowMs();
    bool found = false;
    for (uint64_t waited = 0; waited < kAnswerPartMs && !found; waited = clock_.nowMs() - start) {
        // The last read waits only for what is left of the 500 ms.
        PortTimeouts bounded = normal;
        bounded.readTotalPerByteMs = 0;
        bounded.readTotalConstantMs = static_cast<uint32_t>(std::min<uint64_t>(readWaitMs, kAnswerPartMs - waited));
        port_.setTimeouts(bounded);
        uint8_t byte = 0;
        if (port_.read(&byte, 1) == 1 && (byte & 0xF0) == PanelFrame::kLengthMarker) {
            answer.bytes[0] = byte;
            found = true;
        }
    }
    port_.setTimeouts(normal);
    return found;
}

size_t TSerialLcbTransport::readRest(PanelFrame &answer, size_t expected) {
    size_t got = 0;
    uint64_t lastProgress = clock_.nowMs();
    while (got < expected && clock_.nowMs() - lastProgress < kAnswerPartMs) {
        const int count = port_.read(answer.bytes.data() + 1 + got, expected - got);
        if (count < 0) break;
        if (count > 0) lastProgress = clock_.nowMs();
        got += static_cast<size_t>(count);
    }
    return got;
}

bool TSerialLcbTransport::GetAnswer(PanelFrame &answer) {
    answer = PanelFrame{};
    if (!readFirstByte(answer)) {
        if (LineLogEnabled(line_, 8))
            LogLineBytes16(line_, "GetAnswer::Не дождались начала посылки - таймаут: ", answer.bytes, 8);
        answer = PanelFrame{};
        answerDown();
        return false;
    }
    // A length below 2 (0xA0, 0xA1) leaves no room for address and checksum: not a frame.
    const uint8_t n = answer.length();
    const size_t expected = n >= 2 ? n - 1u : 0;
    const size_t got = n >= 2 ? readRest(answer, expected) : 0;
    if (n < 2 || got < expected) {
        LogLineBytes16(line_, "GetAnswer::Не дождались конца посылки - таймаут: ", answer.bytes, 4);
        answer.bytes[1] = static_cast<uint8_t>(expected - got);
        answerDown();
        return false;
    }
    if (LineLogEnabled(line_, 9)) LogLine(line_, "GetAnswer::Получено: " + std::to_string(got + 1), 9);
    answerUp();
    return true;
}

}  // namespace lintra
