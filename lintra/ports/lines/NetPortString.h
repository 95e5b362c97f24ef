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

// "address:port" of the first IPv4 address host resolves to, with the port of service (a name
// or a number; nullptr: port 0); nullopt when they do not resolve.
std::optional<std::string> ResolveIPv4(const std::string &host, const char *service);

}  // namespace lintra
