#include "lintra/runtime/DisabledCommands.h"

#include <cctype>

#include "lintra/runtime/CharFunc.h"
#include "platform/Profile.h"

namespace lintra {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<int> ParseLineSection(std::string_view name) {
    name = Trim(name);
    constexpr std::string_view kPrefix = "LINE";
    if (name.size() < kPrefix.size()) return std::nullopt;
    for (size_t i = 0; i < kPrefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != kPrefix[i]) return std::nullopt;
    }
    std::string_view number = Trim(name.substr(kPrefix.size()));
    if (number.empty()) return std::nullopt;
    int line = 0;
    for (char c : number) {
        if (c < '0' || c > '9') return std::nullopt;
        line = line * 10 + (c - '0');
        if (line >= kLineCount) return std::nullopt;
    }
    return line;
}

int ParseCommandCode(std::string_view code) {
    int high = 0;
    if (code.empty() || !HexDigitValue(code[0], high)) return 0;
    int low = 0;
    if (code.size() < 2 || !HexDigitValue(code[1], low)) return high;
    return high * 16 + low;
}

void ApplyDisabledList(std::string_view list, CommandRow &row) {
    size_t pos = 0;
    while (pos < list.size()) {
        while (pos < list.size() && IsSeparator(list[pos])) ++pos;
        size_t end = pos;
        while (end < list.size() && !IsSeparator(list[end])) ++end;
        if (end == pos) break;
        std::string_view item = list.substr(pos, end - pos);
        pos = end;
        size_t dash = item.find('-');
        int low = ParseCommandCode(item.substr(0, dash));
        int high = dash == std::string_view::npos ? low : ParseCommandCode(item.substr(dash + 1));
        for (int code = low; code <= high; ++code) row.set(static_cast<size_t>(code));
    }
}

void DisabledCommands::clear() {
    for (CommandRow &row : rows_) row.reset();
}

void DisabledCommands::load(const tessel::Profile &profile) {
    for (const std::string &section : profile.sectionNames()) {
        std::optional<int> line = ParseLineSection(section);
        if (!line) continue;
        if (std::optional<std::string> list = profile.value(section, "DISABLED")) {
            ApplyDisabledList(*list, rows_[*line]);
        }
    }
}

void DisabledCommands::loadFile(const std::string &path) {
    clear();
    if (std::optional<tessel::Profile> profile = tessel::Profile::load(path)) load(*profile);
}

bool DisabledCommands::isDisabled(int line, int code) const {
    if (code < 0 || code > 255) return false;
    if (rows_[0].test(static_cast<size_t>(code))) return true;
    return line > 0 && line < kLineCount && rows_[line].test(static_cast<size_t>(code));
}

}  // namespace lintra
