#pragma once
// The port string of a line behind a TCP gateway: host, port and greeting, split at the first
// two colons (the greeting may hold colons of its own).
#include <optional>
#include <string>

namespace lintra {

struct NetPortString {
    std::string host;
    std::string service;
    std::string greeting;
};

// nullopt when the string lacks two colons.
std::optional<NetPortString> ParseNetPortString(const std::string &text);

// The gateway a line starts with, as "address:port". A name that does not resolve now is no
// reason to refuse the line (every connect resolves it again, and the line reports the lost
// connection meanwhile): the line log gets "Не удаётся получить ip адрес для имени: " + the port
// string, and the answer is "host:service".
std::string GatewayPeer(int line, const NetPortString &parts, const std::string &portString);

}  // namespace lintra
