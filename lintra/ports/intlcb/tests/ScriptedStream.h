#pragma once
// A TNetStream for tests and the fuzz target: what the gateway sends comes from a byte script
// in chunks of at most `chunk` bytes; what the library sends is recorded.
#include <algorithm>
#include <cstring>
#include <vector>

#include "lintra/ports/intlcb/NetStream.h"

namespace lintra::test {

class ScriptedStream final : public TNetStream {
public:
    explicit ScriptedStream(std::vector<uint8_t> incoming, size_t chunk = 64)
        : incoming_(std::move(incoming)), chunk_(std::max<size_t>(chunk, 1)) {}

    bool sendAll(const uint8_t *data, size_t count, uint32_t) override {
        sent.insert(sent.end(), data, data + count);
        return true;
    }
    int receive(uint8_t *buffer, size_t capacity, uint32_t) override {
        if (read_ >= incoming_.size()) return closedAtEnd ? -1 : 0;
        const size_t n = std::min({capacity, chunk_, incoming_.size() - read_});
        std::memcpy(buffer, incoming_.data() + read_, n);
        read_ += n;
        return static_cast<int>(n);
    }
    size_t unread() const { return incoming_.size() - read_; }

    std::vector<uint8_t> sent;
    bool closedAtEnd = false;

private:
    std::vector<uint8_t> incoming_;
    size_t chunk_;
    size_t read_ = 0;
};

}  // namespace lintra::test
