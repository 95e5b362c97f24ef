#pragma once
// Which device a port name means. A name that starts with "/" is a device path. "COM" + n, in
// any case and with or without the "\\.\" prefix, is the string value "COM" + n under the
// machine hive's key SOFTWARE\Tessel\Ports when that is set (tests map COM names to
// pseudo-terminals there), and /dev/ttyS + (n - 1) otherwise.
#include <optional>
#include <string>
#include <string_view>

namespace lintra::host {

// nullopt for a name that is neither a path nor COM + a number from 1 up.
std::optional<std::string> resolvePortName(std::string_view name);

}  // namespace lintra::host
