#include "platform/KeyName.h"

namespace tessel {

std::string foldName(std::string_view name) {
    std::string out(name);
    for (size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xD0 && i + 1 < out.size()) {
            auto n = static_cast<unsigned char>(out[i + 1]);
            if (n >= 0x80 && n <= 0x8F) {  // U+0400..U+040F -> U+0450..U+045F
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(n + 0x10);
            } else if (n >= 0x90 && n <= 0x9F) {  // U+0410..U+041F -> U+0430..U+043F
                out[i + 1] = static_cast<char>(n + 0x20);
            } else if (n >= 0xA0 && n <= 0xAF) {  // U+0420..U+042F -> U+0440..U+044F
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(n - 0x20);
            }
            ++i;
        }
    }
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && foldName(a) == foldName(b);
}

std::string normalizeKeyPath(std::string_view path) {
    std::string out;
    size_t pos = 0;
    while (pos < path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string_view::npos) end = path.size();
        if (end > pos) {
            if (!out.empty()) out += '\\';
            out.append(path.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return out;
}

bool isBelow(std::string_view path, std::string_view ancestor) {
    if (ancestor.empty()) return !path.empty();
    return path.size() > ancestor.size() + 1 && path[ancestor.size()] == '\\' &&
           sameName(path.substr(0, ancestor.size()), ancestor);
}

}  // namespace tessel
