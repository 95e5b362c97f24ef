#pragma once
// A gateway line over a scripted stream and a manual clock: each answer the test queues is
// handed out as the gateway would, the bytes sent and the connects are recorded.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/netrs/NetRSControl.h"
#include "testsupport/Hex.h"

namespace lintra::test {

inline constexpr uint8_t kGatewayAddress = 5;

class ScriptedStream final : public GatewayStream {
public:
    struct Script {
        bool reachable = true;
        bool sendFails = false;
        int opens = 0;
        std::deque<std::vector<uint8_t>> answers;
        std::vector<std::string> sent;  // hex of each send
    };
    explicit ScriptedStream(Script &script) : script_(script) {}
    bool open(int *error) override {
        ++script_.opens;
        open_ = script_.reachable;
        if (!open_) *error = 111;  // ECONNREFUSED
        return open_;
    }
    bool isOpen() const override { return open_; }
    bool send(const uint8_t *data, size_t count) override {
        if (script_.sendFails) return false;
        script_.sent.push_back(testsupport::toHex(std::vector<uint8_t>(data, data + count)));
        return true;
    }
    int receive(uint8_t *buffer, size_t capacity, uint32_t) override {
        if (script_.answers.empty()) return 0;
        std::vector<uint8_t> &next = script_.answers.front();
        const size_t n = std::min(capacity, next.size());
        std::copy(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(n), buffer);
        next.erase(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(n));
        if (next.empty()) script_.answers.pop_front();
        return static_cast<int>(n);
    }
    void close() override { open_ = false; }

private:
    Script &script_;
    bool open_ = false;
};

// A signed frame of the given bytes (the last byte is replaced by the checksum), padded with
// zeros to the gateway's answer size.
inline std::vector<uint8_t> padded(std::vector<uint8_t> bytes) {
    PanelFrame frame = PanelFrame::fromBytes(bytes);
    FrameChecksum(frame);
    auto wire = frame.wire();
    std::vector<uint8_t> out(wire.begin(), wire.end());
    out.resize(GatewayPort::kAnswerSize, 0);
    return out;
}

struct GatewayFixture {
    tessel::ManualClock clock{1000};
    ScriptedStream::Script script;
    std::unique_ptr<TNetRSLCBControl> line;  // joined to the script, its thread not started

    GatewayFixture() {
        LineState::Reset();
        line = std::make_unique<TNetRSLCBControl>(3, kGatewayAddress, clock);
        line->JoinGateway(std::make_unique<ScriptedStream>(script));
    }
    void pollingOn() { line->SendComMsg(PanelFrame::connectionRestored(4), 0); }
    void command() { line->SendComMsg(PanelFrame::command(kGatewayAddress, 80, std::vector<uint8_t>{1}), 0); }
    std::vector<EventRecord> delivered;  // every record of every step
    std::vector<uint16_t> step() {
        const TPultPolling::StepRecords records = line->ServePult();
        std::vector<uint16_t> codes;
        for (size_t i = 0; i < records.count; ++i) {
            codes.push_back(records.records[i].code);
            delivered.push_back(records.records[i]);
        }
        return codes;
    }
};

}  // namespace lintra::test
