#pragma once
// The gateway stream over a TCP socket, kept apart so that the framing compiles and fuzzes
// without the host's sockets.
#include <memory>
#include <string>

#include "lintra/host/TcpSocket.h"
#include "lintra/ports/netrs/GatewayStream.h"

namespace lintra {

class TcpGatewayStream final : public GatewayStream {
public:
    static constexpr uint32_t kConnectTimeoutMs = 2000;
    static constexpr uint32_t kSendTimeoutMs = 2000;

    TcpGatewayStream(std::string host, std::string service)
        : host_(std::move(host)), service_(std::move(service)) {}
    bool open(int *error) override {
        socket_ = host::TcpSocket::connect(host_, service_, kConnectTimeoutMs, error);
        return socket_ != nullptr;
    }
    bool isOpen() const override { return socket_ && socket_->isOpen(); }
    bool send(const uint8_t *data, size_t count) override {
        return isOpen() && socket_->sendAll(data, count, kSendTimeoutMs);
    }
    int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) override {
        return isOpen() ? socket_->receive(buffer, capacity, timeoutMs) : -1;
    }
    void close() override { socket_.reset(); }

private:
    const std::string host_;
    const std::string service_;
    std::unique_ptr<host::TcpSocket> socket_;
};

}  // namespace lintra
