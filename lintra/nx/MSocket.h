#pragma once
// TMSocket: the TCP link to a controller. The host may be a dotted address (used as it is) or
// a name (resolved; one that does not resolve fails before any connection attempt).
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "lintra/host/TcpSocket.h"
#include "lintra/nx/NXLink.h"

namespace lintra::nx {

class TMSocket final : public TNXLink {
public:
    // A controller that does not take the connection within this time counts as unreachable.
    static constexpr uint32_t kConnectWaitMs = 3000;
    static constexpr uint32_t kSendWaitMs = 2000;

    // False with LastError() set: the connect errno, ETIMEDOUT, or EADDRNOTAVAIL for a name
    // that does not resolve.
    bool Connect(const std::string &host, uint16_t port);
    bool Connected() const { return socket_ != nullptr; }

    int Receive(uint8_t *buffer, size_t capacity, uint32_t waitMs) override;
    bool Send(const uint8_t *bytes, size_t length) override;
    void Close() override;
    int LastError() const override { return lastError_; }
    int WaitHandle() const override { return waitHandle_.load(); }

private:
    std::unique_ptr<host::TcpSocket> socket_;
    std::atomic<int> waitHandle_{-1};
    int lastError_ = 0;
};

}  // namespace lintra::nx
