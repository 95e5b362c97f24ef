#include "lintra/ports/intlcb/NetStream.h"

#include <cstring>

#include "lintra/host/TcpSocket.h"

namespace lintra {
namespace {

constexpr uint32_t kConnectTimeoutMs = 3000;

class TcpStream final : public TNetStream {
public:
    explicit TcpStream(std::unique_ptr<host::TcpSocket> socket) : socket_(std::move(socket)) {}
    bool sendAll(const uint8_t *data, size_t count, uint32_t timeoutMs) override {
        return socket_->sendAll(data, count, timeoutMs);
    }
    int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) override {
        return socket_->receive(buffer, capacity, timeoutMs);
    }

private:
    std::unique_ptr<host::TcpSocket> socket_;
};

}  // namespace

TNetConnector TcpConnector(std::string host, std::string service) {
    return [host = std::move(host), service = std::move(service)](std::string &error) -> std::unique_ptr<TNetStream> {
        int code = 0;
        auto socket = host::TcpSocket::connect(host, service, kConnectTimeoutMs, &code);
        if (!socket) {
            error = std::strerror(code);
            return nullptr;
        }
        return std::make_unique<TcpStream>(std::move(socket));
    };
}

}  // namespace lintra
