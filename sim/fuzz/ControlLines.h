#pragma once
// Cuts a fuzz input into control lines, as the control socket would.
#include <cstdint>
#include <string>

namespace sim::fuzz {

template <class F>
void forEachLine(const uint8_t *data, size_t size, F &&execute) {
    std::string text(reinterpret_cast<const char *>(data), size);
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        execute(text.substr(begin, end - begin));
        begin = end + 1;
    }
}

}  // namespace sim::fuzz
