#pragma once
// How far the driver has read its TCP link, seen from the outside: the kernel's count of the
// bytes received on the driver's socket less those still waiting in it. The driver keeps its
// packet counter to itself, and its log would cost more than what it measures.
#include <cstdint>
#include <optional>

namespace bench {

// The descriptor of this process's TCP socket connected to 127.0.0.1:port, or -1.
int socketTo(uint16_t port);
// Bytes the owner of the socket has read from it so far; nullopt once it is no TCP socket.
std::optional<uint64_t> bytesTaken(int fd);

}  // namespace bench
