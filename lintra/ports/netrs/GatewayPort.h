#pragma once
// A Port over a TCP serial gateway: a write connects when the stream is closed and sends the
// bytes as they are; a read takes one answer frame by its length nibble, whether the gateway
// passes the panel's bytes as they come or pads each answer with zeros. The gateway has no
// line settings, parity or modem lines.
#include <cstdint>
#include <memory>

#include "lintra/host/Port.h"
#include "lintra/ports/netrs/GatewayAnswerReader.h"
#include "lintra/ports/netrs/GatewayStream.h"
#include "platform/Clock.h"

namespace lintra {

class GatewayPort final : public Port {
public:
    static constexpr uint32_t kAnswerWaitMs = 2100;
    static constexpr uint32_t kClosePauseMs = 10;

    GatewayPort(std::unique_ptr<GatewayStream> stream, int line, tessel::Clock &clock)
        : stream_(std::move(stream)), line_(line), clock_(clock) {}

    bool setLine(const LineSettings &) override { return true; }
    bool setParity(Parity) override { return true; }
    void setTimeouts(const PortTimeouts &timeouts) override { timeouts_ = timeouts; }
    PortTimeouts timeouts() const override { return timeouts_; }
    // The n bytes of one answer (at most count of them), or 0. Every failed answer (no whole
    // frame within kAnswerWaitMs, a first byte that starts none, a closed peer) closes the
    // connection.
    int read(uint8_t *buffer, size_t count) override;
    // Answer bytes still held are stale once a command goes.
    int write(const uint8_t *data, size_t count) override;
    bool flush() override { return true; }
    bool purge() override {
        reader_.drop();
        return true;
    }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }
    std::optional<bool> dsr() override { return std::nullopt; }
    int lastError() const override { return lastError_; }

private:
    bool connect();

    std::unique_ptr<GatewayStream> stream_;
    GatewayAnswerReader reader_;
    const int line_;
    tessel::Clock &clock_;
    PortTimeouts timeouts_{};
    bool noConnection_ = false;  // the last connect failed: reads fail until a write connects
    int lastError_ = 0;
};

}  // namespace lintra
