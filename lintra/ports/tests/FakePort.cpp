#include "lintra/ports/tests/FakePort.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "testsupport/Hex.h"

namespace lintra::test {
namespace {

const char *parityName(Parity parity) {
    switch (parity) {
    case Parity::None: return "none";
    case Parity::Odd: return "odd";
    case Parity::Even: return "even";
    case Parity::Mark: return "mark";
    case Parity::Space: return "space";
    }
    return "?";
}

}  // namespace

void FakePort::script(std::vector<uint8_t> bytes, uint64_t atMs) {
    script_.push_back({std::move(bytes), atMs});
}

void FakePort::scriptHex(std::string_view hex, uint64_t atMs) { script(testsupport::hexBytes(hex), atMs); }

void FakePort::scriptChunks(const uint8_t *data, size_t size, uint32_t stepMs) {
    uint64_t at = 0;
    for (size_t i = 0; i + 1 < size;) {
        const size_t length = data[i] % 17;
        at += uint64_t{data[i + 1]} * stepMs;
        i += 2;
        const size_t take = length < size - i ? length : size - i;
        script(std::vector<uint8_t>(data + i, data + i + take), at);
        i += take;
    }
}

size_t FakePort::unread() const {
    size_t total = 0;
    for (const Chunk &chunk : script_) total += chunk.bytes.size() - chunk.taken;
    return total;
}

std::string FakePort::trace() const {
    std::string out;
    char token[48];
    for (const Event &e : trace_) {
        switch (e.kind) {
        case Event::Byte: std::snprintf(token, sizeof token, "%02X/%s", e.byte, parityName(e.parity)); break;
        case Event::Rts: std::snprintf(token, sizeof token, "rts%c", e.on ? '+' : '-'); break;
        case Event::Dtr: std::snprintf(token, sizeof token, "dtr%c", e.on ? '+' : '-'); break;
        case Event::Purge: std::snprintf(token, sizeof token, "purge"); break;
        case Event::Flush: std::snprintf(token, sizeof token, "flush"); break;
        case Event::Line:
            std::snprintf(token, sizeof token, "line(%u,%u,%s,%u)", e.line.baud, e.line.dataBits,
                          parityName(e.line.parity), e.line.stopBits);
            break;
        }
        if (!out.empty()) out += ' ';
        out += token;
    }
    return out;
}

std::vector<uint8_t> FakePort::written() const {
    std::vector<uint8_t> out;
    for (const Event &e : trace_)
        if (e.kind == Event::Byte) out.push_back(e.byte);
    return out;
}

std::vector<LineSettings> FakePort::linesSet() const {
    std::vector<LineSettings> out;
    for (const Event &e : trace_)
        if (e.kind == Event::Line) out.push_back(e.line);
    return out;
}

std::string FakePort::writtenHex() const { return testsupport::toHex(written()); }

bool FakePort::setLine(const LineSettings &settings) {
    line_ = settings;
    parity_ = settings.parity;
    trace_.push_back({.kind = Event::Line, .line = settings});
    return true;
}

bool FakePort::setParity(Parity parity) {
    parity_ = parity;
    return true;
}

size_t FakePort::takeAvailable(uint8_t *buffer, size_t count) {
    size_t got = 0;
    while (got < count && !script_.empty() && script_.front().atMs <= clock_.nowMs()) {
        Chunk &chunk = script_.front();
        const size_t n = std::min(count - got, chunk.bytes.size() - chunk.taken);
        std::copy_n(chunk.bytes.begin() + static_cast<ptrdiff_t>(chunk.taken), n, buffer + got);
        chunk.taken += n;
        got += n;
        if (chunk.taken == chunk.bytes.size()) script_.pop_front();
    }
    return got;
}

void FakePort::advanceTo(uint64_t ms) {
    if (ms > clock_.nowMs()) clock_.advance(ms - clock_.nowMs());
}

int FakePort::read(uint8_t *buffer, size_t count) {
    if (readError_) {
        lastError_ = readError_;
        return -1;
    }
    constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
    const uint64_t total = uint64_t{timeouts_.readTotalPerByteMs} * count + timeouts_.readTotalConstantMs;
    const uint64_t deadline = total ? clock_.nowMs() + total : kNever;
    size_t got = 0;
    uint64_t lastByteAt = 0;
    while (true) {
        const size_t taken = takeAvailable(buffer + got, count - got);
        if (taken) lastByteAt = clock_.nowMs();
        got += taken;
        if (got == count) return static_cast<int>(got);
        uint64_t limit = deadline;
        if (got > 0 && timeouts_.readIntervalMs)
            limit = std::min(limit, lastByteAt + timeouts_.readIntervalMs);
        if (script_.empty() || script_.front().atMs > limit) {
            // Without any time-out a real port would block for ever; the fake returns what came.
            if (limit != kNever) advanceTo(limit);
            return static_cast<int>(got);
        }
        advanceTo(script_.front().atMs);
    }
}

int FakePort::write(const uint8_t *data, size_t count) {
    if (writeError_) {
        lastError_ = writeError_;
        return -1;
    }
    for (size_t i = 0; i < count; ++i) trace_.push_back({.kind = Event::Byte, .byte = data[i], .parity = parity_});
    return static_cast<int>(count);
}

bool FakePort::flush() {
    trace_.push_back({.kind = Event::Flush});
    return true;
}

bool FakePort::purge() {
    trace_.push_back({.kind = Event::Purge});
    return true;
}

bool FakePort::setRts(bool on) {
    trace_.push_back({.kind = Event::Rts, .on = on});
    return true;
}

bool FakePort::setDtr(bool on) {
    trace_.push_back({.kind = Event::Dtr, .on = on});
    return true;
}

}  // namespace lintra::test
