#include "lintra/ports/lines/NetPortString.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

// "address:port" of the first IPv4 address host resolves to; nullopt when it does not resolve.
std::optional<std::string> ResolveIPv4(const std::string &host, const char *service) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), service, &hints, &found) != 0 || !found) return std::nullopt;
    const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
    const std::string peer = std::string(text) + ":" + std::to_string(ntohs(address->sin_port));
    freeaddrinfo(found);
    return peer;
}

}  // namespace

std::optional<NetPortString> ParseNetPortString(const std::string &text) {
    const size_t first = text.find(':');
    if (first == std::string::npos) return std::nullopt;
    const size_t second = text.find(':', first + 1);
    if (second == std::string::npos) return std::nullopt;
    return NetPortString{text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

std::string GatewayPeer(int line, const NetPortString &parts, const std::string &portString) {
    if (std::optional<std::string> peer = ResolveIPv4(parts.host, parts.service.c_str())) return *peer;
    LogLine(line, "Не удаётся получить ip адрес для имени: " + portString, 2);
    return parts.host + ":" + parts.service;
}

}  // namespace lintra
