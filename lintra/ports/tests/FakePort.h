#pragma once
// A Port for engine tests. It records every call that reaches the wire: each written byte with
// the parity in force when it was written, RTS and DTR changes, purges, flushes and line
// settings, in order, as a trace such as "rts+ A4/mark flush 05/space 56/space F2/space flush
// rts-". Reads are answered from a script of byte chunks, each available from a given time of
// the manual clock on; a read that waits for bytes advances the clock to the moment the chunk
// comes or the read's time-out ends, so engine waits cost no real time.
// The script is what the device will send: a purge records itself and drops none of it.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lintra/host/Port.h"
#include "platform/Clock.h"

namespace lintra::test {

class FakePort final : public Port {
public:
    explicit FakePort(tessel::ManualClock &clock) : clock_(clock) {}

    // Bytes the device sends, available from clock time atMs on (at once by default).
    void script(std::vector<uint8_t> bytes, uint64_t atMs = 0);
    void scriptHex(std::string_view hex, uint64_t atMs = 0);
    // A script from fuzz input: chunks of a length byte (0..16), a delay byte in stepMs steps
    // from the previous chunk, and the bytes.
    void scriptChunks(const uint8_t *data, size_t size, uint32_t stepMs);
    // Scripted bytes not read yet.
    size_t unread() const;

    // From now on every write (read) fails with this errno; 0 lets them work again.
    void failWrites(int error) { writeError_ = error; }
    void failReads(int error) { readError_ = error; }
    void setDsr(std::optional<bool> dsr) { dsr_ = dsr; }

    std::string trace() const;
    std::string writtenHex() const;
    std::vector<uint8_t> written() const;
    void clearTrace() { trace_.clear(); }
    const LineSettings &line() const { return line_; }
    // Every line setting applied since the trace was last cleared, in order.
    std::vector<LineSettings> linesSet() const;

    bool setLine(const LineSettings &settings) override;
    bool setParity(Parity parity) override;
    void setTimeouts(const PortTimeouts &timeouts) override { timeouts_ = timeouts; }
    PortTimeouts timeouts() const override { return timeouts_; }
    int read(uint8_t *buffer, size_t count) override;
    int write(const uint8_t *data, size_t count) override;
    bool flush() override;
    bool purge() override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    std::optional<bool> dsr() override { return dsr_; }
    int lastError() const override { return lastError_; }

private:
    struct Chunk {
        std::vector<uint8_t> bytes;
        uint64_t atMs;
        size_t taken = 0;
    };
    struct Event {
        enum Kind { Byte, Rts, Dtr, Purge, Flush, Line } kind;
        uint8_t byte = 0;
        Parity parity = Parity::None;
        bool on = false;
        LineSettings line{};
    };

    size_t takeAvailable(uint8_t *buffer, size_t count);
    void advanceTo(uint64_t ms);

    tessel::ManualClock &clock_;
    std::deque<Chunk> script_;
    std::vector<Event> trace_;
    LineSettings line_{};
    Parity parity_ = Parity::None;
    PortTimeouts timeouts_{};
    std::optional<bool> dsr_ = true;
    int writeError_ = 0;
    int readError_ = 0;
    int lastError_ = 0;
};

}  // namespace lintra::test
