#pragma once
// A Port over a TCP serial gateway: a write connects when the stream is closed and sends the
// bytes as they are; a read takes one answer of exactly kAnswerSize bytes (the gateway pads
// shorter frames) or nothing. The gateway has no line settings, parity or modem lines.
#include <array>
#include <cstdint>
#include <memory>

#include "lintra/host/Port.h"
#include "lintra/ports/netrs/GatewayStream.h"
#include "platform/Clock.h"

namespace lintra {

class GatewayPort final : public Port {
public:
    static constexpr size_t kAnswerSize = 13;
    static constexpr uint32_t kAnswerWaitMs = 2100;
    static constexpr uint32_t kClosePauseMs = 10;

    GatewayPort(std::unique_ptr<GatewayStream> stream, int line, tessel::Clock &clock)
        : stream_(std::move(stream)), line_(line), clock_(clock) {}

    bool setLine(const LineSettings &) override { return true; }
    bool setParity(Parity) override { return true; }
    void setTimeouts(const PortTimeouts &timeouts) override { timeouts_ = timeouts; }
    PortTimeouts timeouts() const override { return timeouts_; }
    // kAnswerSize bytes of one answer (at most count of them), or 0 when no whole answer came
    // within kAnswerWaitMs; a short answer closes the connection.
    int read(uint8_t *buffer, size_t count) override;
    int write(const uint8_t *data, size_t count) override;
    bool flush() override { return true; }
    bool purge() override { return true; }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }
    std::optional<bool> dsr() override { return std::nullopt; }
    int lastError() const override { return lastError_; }

private:
    bool connect();

    std::unique_ptr<GatewayStream> stream_;
    const int line_;
    tessel::Clock &clock_;
    PortTimeouts timeouts_{};
    bool noConnection_ = false;  // the last connect failed: reads fail until a write connects
    int lastError_ = 0;
};

}  // namespace lintra
