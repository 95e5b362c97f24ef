#pragma once
// A connected byte stream as the TCP transport uses it; a TCP socket in the library, a script
// in tests and in the fuzz target.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lintra {

class TNetStream {
public:
    virtual ~TNetStream() = default;
    // True when every byte went.
    virtual bool sendAll(const uint8_t *data, size_t count, uint32_t timeoutMs) = 0;
    // Bytes received (1..capacity); 0 when nothing came in time; -1 on an error or a closed peer.
    virtual int receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) = 0;
};

// Opens a connection, or nullptr with the error text.
using TNetConnector = std::function<std::unique_ptr<TNetStream>(std::string &error)>;

// A connector to host:service over TCP.
TNetConnector TcpConnector(std::string host, std::string service);

}  // namespace lintra
