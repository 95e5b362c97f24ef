#include "lintra/nx/ParamList.h"

#include <charconv>
#include <cstring>

namespace lintra::nx {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

TParamList TParamList::FromText(const char *text) {
    TParamList list;
    if (!text) return list;
    const std::string_view all(text, std::strlen(text));
    size_t start = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] != '\r' && all[i] != '\n') continue;
        list.lines_.emplace_back(all.substr(start, i - start));
        if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < all.size()) list.lines_.emplace_back(all.substr(start));
    return list;
}

std::string TParamList::Text() const {
    std::string text;
    for (const std::string &line : lines_) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

std::string TParamList::LogText() const {
    std::string text;
    for (const std::string &line : lines_) {
        const size_t equals = line.find('=');
        const bool secret = equals != std::string::npos && SameKey(std::string_view(line).substr(0, equals), "Password");
        text += secret ? line.substr(0, equals + 1) + "***" : line;
        text += kLineEnd;
    }
    return text;
}

std::optional<std::string> TParamList::Value(std::string_view key) const {
    for (const std::string &line : lines_) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos && SameKey(std::string_view(line).substr(0, equals), key)) {
            return line.substr(equals + 1);
        }
    }
    return std::nullopt;
}

int32_t TParamList::IntValue(std::string_view key, int32_t fallback) const {
    const std::optional<std::string> value = Value(key);
    if (!value || value->empty()) return fallback;
    const char *begin = value->data();
    const char *end = begin + value->size();
    if (*begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') return fallback;
    }
    int32_t number = 0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    return error == std::errc() && stop == end && begin != end ? number : fallback;
}

void TParamList::Merge(const TParamList &override) {
    for (const std::string &line : override.lines_) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        const std::string_view key = std::string_view(line).substr(0, equals);
        bool replaced = false;
        for (std::string &mine : lines_) {
            const size_t mineEquals = mine.find('=');
            if (mineEquals == std::string::npos || !SameKey(std::string_view(mine).substr(0, mineEquals), key)) continue;
            mine = line;
            replaced = true;
            break;
        }
        if (!replaced) lines_.push_back(line);
    }
}

}  // namespace lintra::nx
