#include "lintra/ports/intlcb/NetStream.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "lintra/host/TcpSocket.h"

namespace lintra {
namespace {

constexpr uint32_t kConnectTimeoutMs = 3000;

// Reads what the socket has in one call and hands it out from a buffer, so that a header and
// its frame cost one wait and one read instead of one each per field.
class TcpStream final : public TNetStream {
public:
    explicit TcpStream(std::unique_ptr<host::TcpSocket> socket) : socket_(std::move(socket)) {}
    bool sendAll(const uint8_t *data, size_t count, uint32_t timeoutMs) override {
        return socket_->sendAll(data, count, timeoutMs);
    }
    int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) override {
        if (begin_ == end_) {
            const int n = socket_->receive(buffer_.data(), buffer_.size(), timeoutMs);
            if (n <= 0) return n;
            begin_ = 0;
            end_ = static_cast<size_t>(n);
        }
        const size_t n = std::min(capacity, end_ - begin_);
        std::memcpy(buffer, buffer_.data() + begin_, n);
        begin_ += n;
        return static_cast<int>(n);
    }

private:
    std::unique_ptr<host::TcpSocket> socket_;
    std::array<uint8_t, 256> buffer_{};
    size_t begin_ = 0;
    size_t end_ = 0;
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
