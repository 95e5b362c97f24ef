// Sections of the same name (compared without regard to ASCII case) are one section: value()
// finds the first key among all their lines, entries() lists all their lines in file order.
// Only ASCII letters fold: these files come in 8-bit Windows Cyrillic or UTF-8 and carry no
// mark of which. Values are taken as written; quotes are not removed.
#include "platform/Profile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tessel {
namespace {

std::string_view trim(std::string_view s) {
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<Profile> Profile::load(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return parse(text);
}

Profile Profile::parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // saved as UTF-8 by an editor
    Profile p;
    Section *current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            name = trim(name.substr(0, name.find(']')));
            current = const_cast<Section *>(p.find(name));
            if (!current) current = &p.sections_.emplace_back(Section{std::string(name), {}});
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        std::string_view key = trim(line.substr(0, eq));
        if (key.empty()) continue;
        current->entries.emplace_back(std::string(key), std::string(trim(line.substr(eq + 1))));
    }
    return p;
}

const Profile::Section *Profile::find(std::string_view section) const {
    section = trim(section);
    for (const auto &s : sections_)
        if (sameAscii(s.name, section)) return &s;
    return nullptr;
}

std::vector<std::string> Profile::sectionNames() const {
    std::vector<std::string> names;
    for (const auto &s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::pair<std::string, std::string>> Profile::entries(std::string_view section) const {
    const Section *s = find(section);
    return s ? s->entries : std::vector<std::pair<std::string, std::string>>{};
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const {
    if (const Section *s = find(section)) {
        key = trim(key);
        for (const auto &[k, v] : s->entries)
            if (sameAscii(k, key)) return v;
    }
    return std::nullopt;
}

std::string Profile::value(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
    auto v = value(section, key);
    return v ? *v : std::string(fallback);
}

// The leading integer of the value (decimal, or hexadecimal after 0x), as a profile reader
// takes it: "10 ; seconds" is 10. No digits, or a number beyond int, gives the fallback.
int Profile::intValue(std::string_view section, std::string_view key, int fallback) const {
    auto v = value(section, key);
    if (!v || v->empty()) return fallback;
    const char *start = v->c_str();
    const char *digits = start + (*start == '-' || *start == '+');
    const int base = (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) ? 16 : 10;
    char *end = nullptr;
    errno = 0;
    long n = std::strtol(start, &end, base);
    if (end == start || errno == ERANGE || n < INT_MIN || n > INT_MAX) return fallback;
    return static_cast<int>(n);
}

}  // namespace tessel
