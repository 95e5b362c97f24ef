#include "lintra/ports/netrs/GatewayPort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "lintra/runtime/CommonProc.h"

namespace lintra {

namespace {

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
    if (!stream_->isOpen() && !connect()) return -1;
    // A broken connection is left to the answer's read, which logs it and closes the socket.
    if (!stream_->send(data, count)) return -1;
    LogLine(line_, hexBytes(">s0 ", data, count), 7);
    noConnection_ = false;
    return static_cast<int>(count);
}

int GatewayPort::read(uint8_t *buffer, size_t count) {
    if (noConnection_ || !stream_->isOpen()) return 0;
    std::array<uint8_t, kAnswerSize> answer{};
    const uint64_t deadline = clock_.nowMs() + kAnswerWaitMs;
    size_t got = 0;
    while (got < kAnswerSize) {
        const uint64_t now = clock_.nowMs();
        if (now >= deadline) break;
        const int n = stream_->receive(answer.data() + got, kAnswerSize - got, static_cast<uint32_t>(deadline - now));
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    if (got < kAnswerSize) {
        LogLine(line_, "Закрываем сокет", 5);
        stream_->close();
        clock_.sleepMs(kClosePauseMs);
        return 0;
    }
    LogLine(line_, hexBytes("Приём: ", answer.data(), kAnswerSize), 7);
    const size_t n = std::min(count, kAnswerSize);
    std::memcpy(buffer, answer.data(), n);
    return static_cast<int>(n);
}

}  // namespace lintra
