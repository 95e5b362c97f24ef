#include "lintra/nx/MSocket.h"

#include <cerrno>

namespace lintra::nx {

bool TMSocket::Connect(const std::string &host, uint16_t port) {
    Close();
    socket_ = host::TcpSocket::connect(host, std::to_string(port), kConnectWaitMs, &lastError_);
    if (!socket_) return false;
    waitHandle_.store(socket_->descriptor());
    return true;
}

int TMSocket::Receive(uint8_t *buffer, size_t capacity, uint32_t waitMs) {
    if (!socket_) return lastError_ = ENOTCONN, -1;
    const int got = socket_->receive(buffer, capacity, waitMs);
    if (got < 0) lastError_ = socket_->lastError();
    return got;
}

bool TMSocket::Send(const uint8_t *bytes, size_t length) {
    if (!socket_) return lastError_ = ENOTCONN, false;
    if (socket_->sendAll(bytes, length, kSendWaitMs)) return true;
    lastError_ = socket_->lastError();
    return false;
}

void TMSocket::Close() {
    waitHandle_.store(-1);
    socket_.reset();
}

}  // namespace lintra::nx
