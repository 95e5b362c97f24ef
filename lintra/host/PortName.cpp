#include "lintra/host/PortName.h"

#include <charconv>

#include "platform/Registry.h"

namespace lintra::host {

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr std::string_view kPortsKey = "SOFTWARE\\Tessel\\Ports";

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if ((text[i] | 0x20) != (prefix[i] | 0x20)) return false;
    return true;
}

std::optional<unsigned> comNumber(std::string_view name) {
    if (name.starts_with(kDevicePrefix)) name.remove_prefix(kDevicePrefix.size());
    if (!startsWithIgnoringCase(name, "COM")) return std::nullopt;
    name.remove_prefix(3);
    unsigned number = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc{} || end != name.data() + name.size() || number == 0) return std::nullopt;
    return number;
}

}  // namespace

std::optional<std::string> resolvePortName(std::string_view name) {
    if (name.starts_with('/')) return std::string(name);
    auto number = comNumber(name);
    if (!number) return std::nullopt;
    const std::string valueName = "COM" + std::to_string(*number);
    if (auto key = tessel::RegKey::open(tessel::Hive::LocalMachine, kPortsKey, false))
        if (auto mapped = key->readString(valueName); mapped && !mapped->empty()) return *mapped;
    return "/dev/ttyS" + std::to_string(*number - 1);
}

}  // namespace lintra::host
