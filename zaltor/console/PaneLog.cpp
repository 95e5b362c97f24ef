#include "zaltor/console/PaneLog.h"

#include <algorithm>

namespace zaltor::console {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

std::size_t codePoints(std::string_view utf8) {
    // Every byte except the continuation bytes 10xxxxxx starts a character.
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

bool PaneLog::full() const {
    const std::size_t held =
        limit_.unit == PaneLimit::Unit::Characters ? characters_ : lines_.size();
    return held >= limit_.clearAt;
}

bool PaneLog::append(std::string_view entry) {
    const bool emptied = full();
    if (emptied) clear();
    for (;;) {
        const std::size_t end = entry.find(kLineBreak);
        const std::string_view line = entry.substr(0, end);
        characters_ += codePoints(line) + (lines_.empty() ? 0 : 1);
        lines_.emplace_back(line);
        if (end == std::string_view::npos) break;
        entry.remove_prefix(end + kLineBreak.size());
    }
    return emptied;
}

void PaneLog::clear() {
    lines_.clear();
    characters_ = 0;
}

}  // namespace zaltor::console
