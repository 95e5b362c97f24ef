#include "sim/panel/TextFields.h"

#include <cstdio>

namespace sim {

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) fields.emplace_back(line.substr(start, i - start));
    }
    return fields;
}

std::optional<uint32_t> parseDecimal(const std::string &field, uint32_t max) {
    if (field.empty() || field.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > max) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<uint32_t> parseHex(const std::string &field, size_t digits) {
    if (field.size() != digits || digits > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : field) {
        int d = c >= '0' && c <= '9' ? c - '0'
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                     : -1;
        if (d < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(d);
    }
    return value;
}

std::optional<uint8_t> parseByte(const std::string &field) {
    std::optional<uint32_t> value;
    if (field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X'))
        value = field.size() <= 4 ? parseHex(field.substr(2), field.size() - 2) : std::nullopt;
    else
        value = parseDecimal(field, 255);
    if (!value) return std::nullopt;
    return static_cast<uint8_t>(*value);
}

std::string hex(uint32_t value, int digits) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace sim
