#include "bench/nx/LinkBytes.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace bench {

int socketTo(uint16_t port) {
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::stoi(entry.path().filename().string());
        struct stat info {};
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        if (::fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode)) continue;
        if (::getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &length) != 0 || peer.sin_family != AF_INET)
            continue;
        if (ntohs(peer.sin_port) == port && peer.sin_addr.s_addr == htonl(INADDR_LOOPBACK)) return fd;
    }
    return -1;
}

std::optional<uint64_t> bytesTaken(int fd) {
    tcp_info info{};
    socklen_t length = sizeof info;
    int waiting = 0;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0 || ::ioctl(fd, SIOCINQ, &waiting) != 0)
        return std::nullopt;
    // A kernel too old to count the received bytes answers a shorter record.
    if (length < offsetof(tcp_info, tcpi_bytes_received) + sizeof info.tcpi_bytes_received) return std::nullopt;
    return info.tcpi_bytes_received - static_cast<uint64_t>(waiting);
}

}  // namespace bench
