#pragma once
// A line-controller wire for engine tests: the controller's bytes come from a FakePort script
// on a manual clock, and the port in front of it answers DSR as a scripted controller would
// (following RTS, or fixed) and keeps a short trace of what the master did to the line.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "lintra/host/Port.h"
#include "lintra/ports/lcb/LcbMaster.h"
#include "lintra/ports/tests/FakePort.h"
#include "platform/Clock.h"
#include "testsupport/Hex.h"

namespace lintra::test {

// "A6FB61..." without blanks, so that a write is one token of a trace.
inline std::string compactHex(std::span<const uint8_t> bytes) {
    std::string hex = testsupport::toHex(bytes);
    std::erase(hex, ' ');
    return hex;
}

class HandshakePort final : public Port {
public:
    explicit HandshakePort(FakePort &wire) : wire_(wire) {}

    // nullopt: DSR follows RTS (the controller grants at once and lets go when RTS drops).
    void fixDsr(std::optional<std::optional<bool>> dsr) { fixed_ = dsr; }
    // "rts+ dtr- w:A6FB6101107C line purge", one token per call.
    std::string trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }
    int writes() const { return writes_; }

    bool setLine(const LineSettings &) override { return note("line"), true; }
    bool setParity(Parity) override { return true; }
    void setTimeouts(const PortTimeouts &timeouts) override { wire_.setTimeouts(timeouts); }
    PortTimeouts timeouts() const override { return wire_.timeouts(); }
    int read(uint8_t *buffer, size_t count) override { return wire_.read(buffer, count); }
    int write(const uint8_t *data, size_t count) override {
        ++writes_;
        note("w:" + compactHex({data, count}));
        return static_cast<int>(count);
    }
    bool flush() override { return true; }
    bool purge() override { return note("purge"), true; }
    bool setRts(bool on) override {
        rts_ = on;
        return note(on ? "rts+" : "rts-"), true;
    }
    bool setDtr(bool on) override { return note(on ? "dtr+" : "dtr-"), true; }
    std::optional<bool> dsr() override { return fixed_ ? *fixed_ : std::optional<bool>(rts_); }
    int lastError() const override { return 0; }

private:
    void note(const std::string &token) { trace_ += (trace_.empty() ? "" : " ") + token; }

    FakePort &wire_;
    bool rts_ = false;
    std::optional<std::optional<bool>> fixed_;
    std::string trace_;
    int writes_ = 0;
};

// A clock for the engine under test: each pause advances the manual clock and then lets the
// test's other side run (the receive thread, in the master's waits).
class SteppingClock final : public tessel::Clock {
public:
    explicit SteppingClock(tessel::ManualClock &clock) : clock_(clock) {}
    uint64_t nowMs() const override { return clock_.nowMs(); }
    int64_t wallSeconds() const override { return clock_.wallSeconds(); }
    void sleepMs(uint32_t ms) override {
        clock_.advance(ms);
        if (onSleep) onSleep();
    }
    std::function<void()> onSleep;

private:
    tessel::ManualClock &clock_;
};

// Keeps the frames the master delivers (as hex) and counts the reopenings.
class RecordingMasterLine final : public TLcbMasterLine {
public:
    int masterLine() const override { return 1; }
    void DeliverFrame(const PanelFrame &frame) override {
        delivered.push_back(testsupport::toHex(std::span(frame.bytes).first(3)));
    }
    bool ReInitCom() override { return ++reopened, true; }

    std::vector<std::string> delivered;  // length byte, address and code of each
    int reopened = 0;
};

// The bytes of a frame with its checksum in the last place.
inline std::vector<uint8_t> signedFrame(std::vector<uint8_t> bytes) {
    PanelFrame frame = PanelFrame::fromBytes(bytes);
    FrameChecksum(frame);
    return {frame.wire().begin(), frame.wire().end()};
}

}  // namespace lintra::test
