#include "lintra/nx/MSio.h"

#include <cerrno>

#include "lintra/host/PortName.h"

namespace lintra::nx {

bool TMSio::Open(const std::string &name, int32_t baud) {
    Close();
    const auto device = host::resolvePortName(name);
    if (!device) return lastError_ = ENOENT, false;
    auto port = host::SerialPort::open(*device, &lastError_);
    if (!port) return false;
    if (baud <= 0 || !port->setLine({.baud = static_cast<uint32_t>(baud), .dataBits = 8, .parity = Parity::None, .stopBits = 1})) {
        lastError_ = baud <= 0 ? EINVAL : port->lastError();
        return false;
    }
    port->setTimeouts({.writeTotalPerByteMs = kWritePerByteMs, .writeTotalConstantMs = kWriteConstantMs});
    port_ = std::move(port);
    waitHandle_.store(port_->descriptor());
    return true;
}

int TMSio::Receive(uint8_t *buffer, size_t capacity, uint32_t waitMs) {
    if (!port_) return lastError_ = ENOTCONN, -1;
    const int got = port_->readAvailable(buffer, capacity, waitMs);
    if (got < 0) lastError_ = port_->lastError();
    return got;
}

bool TMSio::Send(const uint8_t *bytes, size_t length) {
    if (!port_) return lastError_ = ENOTCONN, false;
    if (port_->write(bytes, length) == static_cast<int>(length)) return true;
    lastError_ = port_->lastError() ? port_->lastError() : ETIMEDOUT;
    return false;
}

// Unsent output and unread input go with the port, as a new connection must start clean.
void TMSio::Close() {
    waitHandle_.store(-1);
    if (port_) port_->purge();
    port_.reset();
}

}  // namespace lintra::nx
