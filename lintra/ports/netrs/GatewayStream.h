#pragma once
// The byte stream to a TCP serial gateway: opened on demand, closed after a failure. The
// gateway port talks to it; tests replace it with a scripted stream.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "lintra/host/TcpSocket.h"

namespace lintra {

class GatewayStream {
public:
    virtual ~GatewayStream() = default;
    // False with *error (an errno) when the gateway cannot be reached.
    virtual bool open(int *error) = 0;
    virtual bool isOpen() const = 0;
    virtual bool send(const uint8_t *data, size_t count) = 0;
    // Bytes received (1..capacity), 0 when nothing came within timeoutMs, -1 on an error.
    virtual int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) = 0;
    virtual void close() = 0;
};

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
