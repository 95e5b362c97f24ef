#include "lintra/ports/intlcb/NetLcbControl.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "lintra/ports/intlcb/NetLcbTransport.h"
#include "lintra/ports/intlcb/NetPortString.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr TIntComThread::Pacing kPacing{1000, 0, 1};

// "address:port" of the first IPv4 address the names resolve to; nullopt when they do not.
std::optional<std::string> resolvePeer(const NetPortString &parts) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(parts.host.c_str(), parts.service.c_str(), &hints, &found) != 0 || !found) return std::nullopt;
    const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
    const std::string peer = std::string(text) + ":" + std::to_string(ntohs(address->sin_port));
    freeaddrinfo(found);
    return peer;
}

}  // namespace

TNetLCBControl::TNetLCBControl(int line, tessel::Clock &clock) : TIntLcbLine(line, clock) {}

TNetLCBControl::~TNetLCBControl() { stopPolling(); }

bool TNetLCBControl::InitCom(const std::string &port, int line) {
    const std::string call = "TNetLCBControl.InitCom( " + port + ", " + std::to_string(line) + " )";
    LogMain(call, 6);
    LogLine(line, call, 5);
    setPortName(port);
    const auto parts = ParseNetPortString(port);
    if (!parts) return false;
    std::optional<std::string> peer = resolvePeer(*parts);
    if (!peer) {
        LogLine(line, "Не удаётся получить ip адрес для имени: " + port, 2);
        peer = parts->host + ":" + parts->service;
    }
    startPolling(std::make_unique<TNetLcbTransport>(TcpConnector(parts->host, parts->service), clock_, line,
                                                    parts->greeting, *peer),
                 kPacing);
    LogLine(line, "Линия инициализирована, порт " + port + " (" + *peer + ")", 5);
    return true;
}

}  // namespace lintra
