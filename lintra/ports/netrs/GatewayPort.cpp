#include "lintra/ports/netrs/GatewayPort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "lintra/runtime/CommonProc.h"

namespace lintra {

namespace {

constexpr int kTraceLevel = 7;

std::string hexBytes(const char *prefix, const uint8_t *data, size_t count) {
    std::string text = prefix;
    char digits[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02X ", data[i]);
        text += digits;
    }
    return text;
}

}  // namespace

bool GatewayPort::connect() {
    int error = 0;
    bool opened = false;
    try {
        opened = stream_->open(&error);
        if (!opened) LogLine(line_, std::string("Ошибка WinSock: ") + std::strerror(error), 3);
    } catch (const std::exception &e) {
        LogLine(line_, std::string("Ошибка при коннекте: ") + e.what(), 3);
    }
    if (opened) return true;
    lastError_ = error;
    noConnection_ = true;
    stream_->close();
    return false;
}

int GatewayPort::write(const uint8_t *data, size_t count) {
    purge();
    if (!stream_->isOpen() && !connect()) return -1;
    // A broken connection is left to the answer's read, which logs it and closes the socket.
    if (!stream_->send(data, count)) return -1;
    if (LineLogEnabled(line_, kTraceLevel)) LogLine(line_, hexBytes(">s0 ", data, count), kTraceLevel);
    noConnection_ = false;
    return static_cast<int>(count);
}

int GatewayPort::read(uint8_t *buffer, size_t count) {
    if (noConnection_ || !stream_->isOpen()) return 0;
    PanelFrame answer;
    const GatewayAnswerReader::Result result = reader_.read(*stream_, clock_, kAnswerWaitMs, answer);
    if (result != GatewayAnswerReader::Result::Frame) {
        if (result == GatewayAnswerReader::Result::BadStart) LogLine(line_, "Ответ без начала посылки", 5);
        LogLine(line_, "Закрываем сокет", 5);
        stream_->close();
        clock_.sleepMs(kClosePauseMs);
        return 0;
    }
    if (LineLogEnabled(line_, kTraceLevel))
        LogLine(line_, hexBytes("Приём: ", answer.bytes.data(), answer.length()), kTraceLevel);
    const size_t n = std::min<size_t>(count, answer.length());
    std::memcpy(buffer, answer.bytes.data(), n);
    return static_cast<int>(n);
}

}  // namespace lintra
