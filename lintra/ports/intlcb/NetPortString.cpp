#include "lintra/ports/intlcb/NetPortString.h"

namespace lintra {

std::optional<NetPortString> ParseNetPortString(const std::string &text) {
    const size_t first = text.find(':');
    if (first == std::string::npos) return std::nullopt;
    const size_t second = text.find(':', first + 1);
    if (second == std::string::npos) return std::nullopt;
    return NetPortString{text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

}  // namespace lintra
