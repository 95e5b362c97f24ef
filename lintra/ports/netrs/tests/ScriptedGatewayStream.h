#pragma once
// A gateway stream for tests and the fuzz target: each queued piece comes in reads of its own,
// as a TCP segment would, after the gap the script sets on the manual clock; the bytes sent and
// the connects are recorded. A closed connection takes its unread pieces with it.
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "lintra/ports/netrs/GatewayStream.h"
#include "platform/Clock.h"
#include "testsupport/Hex.h"

namespace lintra::test {

class ScriptedGatewayStream final : public GatewayStream {
public:
    struct Script {
        bool reachable = true;
        bool sendFails = false;
        bool closesWhenDrained = false;  // the peer closes once every piece is read
        uint32_t gapMs = 0;              // each piece comes this long after its read starts waiting
        int opens = 0;
        int receives = 0;
        std::deque<std::vector<uint8_t>> answers;
        std::vector<std::string> sent;  // hex of each send
    };
    ScriptedGatewayStream(Script &script, tessel::ManualClock &clock) : script_(script), clock_(clock) {}

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
    int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) override {
        ++script_.receives;
        if (script_.answers.empty()) return script_.closesWhenDrained ? -1 : 0;
        if (script_.gapMs > timeoutMs) {
            clock_.advance(timeoutMs);
            return 0;
        }
        clock_.advance(script_.gapMs);
        std::vector<uint8_t> &next = script_.answers.front();
        const size_t n = std::min(capacity, next.size());
        std::copy_n(next.begin(), n, buffer);
        next.erase(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(n));
        if (next.empty()) script_.answers.pop_front();
        return static_cast<int>(n);
    }
    void close() override {
        open_ = false;
        script_.answers.clear();
    }

private:
    Script &script_;
    tessel::ManualClock &clock_;
    bool open_ = false;
};

}  // namespace lintra::test
