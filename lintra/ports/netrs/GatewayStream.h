#pragma once
// The byte stream to a TCP serial gateway: opened on demand, closed after a failure. The
// gateway port talks to it; tests replace it with a scripted stream.
#include <cstddef>
#include <cstdint>

namespace lintra {

class GatewayStream {
public:
    virtual ~GatewayStream() = default;
    // False with *error (an errno) when the gateway cannot be reached.
    virtual bool open(int *error) = 0;
    virtual bool isOpen() const = 0;
    virtual bool send(const uint8_t *data, size_t count) = 0;
    // Bytes received (1..capacity), 0 when nothing came within timeoutMs, -1 on an error.
    virtual int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) = 0;
    virtual void close() = 0;
};

}  // namespace lintra
