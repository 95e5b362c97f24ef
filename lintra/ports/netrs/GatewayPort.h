#pragma once
// A Port over a TCP serial gateway, so that the panel link runs unchanged: a write connects
// when the stream is closed and sends the bytes as they are; a read takes one answer of exactly
// kAnswerSize bytes from the gateway and hands it out to the link's reads. The gateway pads
// shorter frames, so the bytes the frame's length leaves over are dropped with the next write.
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

    // Set when the last connect failed; reads fail until a write connects again.
    bool noConnection() const { return noConnection_; }

    bool setLine(const LineSettings &) override { return true; }
    bool setParity(Parity) override { return true; }
    void setTimeouts(const PortTimeouts &timeouts) override { timeouts_ = timeouts; }
    PortTimeouts timeouts() const override { return timeouts_; }
    int read(uint8_t *buffer, size_t count) override;
    int write(const uint8_t *data, size_t count) override;
    bool flush() override { return true; }
    bool purge() override {
        pending_ = taken_ = 0;
        return true;
    }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }
    std::optional<bool> dsr() override { return std::nullopt; }
    int lastError() const override { return lastError_; }

private:
    bool connect();
    bool receiveAnswer();

    std::unique_ptr<GatewayStream> stream_;
    const int line_;
    tessel::Clock &clock_;
    PortTimeouts timeouts_{};
    std::array<uint8_t, kAnswerSize> answer_{};
    size_t pending_ = 0;  // bytes of answer_ received
    size_t taken_ = 0;    // bytes of answer_ handed out
    bool noConnection_ = false;
    int lastError_ = 0;
};

}  // namespace lintra
