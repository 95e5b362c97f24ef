#include "platform/RegText.h"

#include <cstdio>
#include <optional>

#include "platform/KeyName.h"
#include "platform/Utf16.h"

namespace tessel {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && foldName(s.substr(0, prefix.size())) == prefix;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Exactly `digits` hex digits when `exact`, else 1 up to `digits`.
std::optional<uint32_t> parseHexNumber(std::string_view s, size_t digits, bool exact) {
    if (s.empty() || s.size() > digits || (exact && s.size() != digits)) return std::nullopt;
    uint32_t v = 0;
    for (char c : s) {
        int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        v = v << 4 | static_cast<uint32_t>(d);
    }
    return v;
}

RegRoot rootOf(std::string_view first) {
    std::string f = foldName(first);
    if (f == "hkey_current_user" || f == "hkcu") return RegRoot::CurrentUser;
    if (f == "hkey_local_machine" || f == "hklm") return RegRoot::LocalMachine;
    if (f.starts_with("hkey_") || f == "hkcr" || f == "hku" || f == "hkcc") return RegRoot::Other;
    return RegRoot::None;
}

void parseHeader(std::string_view inner, RegStatement &st) {
    st.kind = RegStatement::Kind::Key;
    if (!inner.empty() && inner.front() == '-') {
        st.kind = RegStatement::Kind::DeleteKey;
        inner.remove_prefix(1);
    }
    std::string path = normalizeKeyPath(inner);
    size_t sep = path.find('\\');
    st.root = rootOf(std::string_view(path).substr(0, sep));
    st.path =
        st.root == RegRoot::None ? path : (sep == std::string::npos ? "" : path.substr(sep + 1));
}

// A quoted name or string with the escapes \\ and \" ; answers the text after the closing quote.
std::optional<std::string_view> parseQuoted(std::string_view s, std::string &out) {
    if (s.empty() || s.front() != '"') return std::nullopt;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '"') return s.substr(i + 1);
        if (s[i] == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return std::nullopt;
            ++i;
        }
        out += s[i];
    }
    return std::nullopt;
}

std::optional<std::string> parseHexBytes(std::string_view list) {
    std::string bytes;
    list = trim(list);
    if (list.empty()) return bytes;
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t end = list.find(',', pos);
        if (end == std::string_view::npos) end = list.size();
        auto b = parseHexNumber(trim(list.substr(pos, end - pos)), 2, true);
        if (!b) return std::nullopt;
        bytes += static_cast<char>(*b);
        pos = end + 1;
    }
    return bytes;
}

// `utf16File`: the file was UTF-16, so its quoted strings were wide text.
bool parseData(std::string_view data, bool utf16File, RegStatement &st) {
    RegValue &value = st.value;
    std::string text;
    if (auto rest = parseQuoted(data, text)) {
        if (!trim(*rest).empty()) return false;
        value = {RegValue::Type::String, 0, std::move(text)};
        st.wide = utf16File;
        return true;
    }
    if (startsWithNoCase(data, "dword:")) {
        auto v = parseHexNumber(trim(data.substr(6)), 8, true);
        if (!v) return false;
        value = {RegValue::Type::Dword, *v, {}};
        return true;
    }
    if (!startsWithNoCase(data, "hex")) return false;
    data.remove_prefix(3);
    uint32_t type = 3;  // plain hex: is binary
    if (!data.empty() && data.front() == '(') {
        size_t close = data.find(')');
        if (close == std::string_view::npos) return false;
        auto t = parseHexNumber(data.substr(1, close - 1), 8, false);
        if (!t) return false;
        type = *t;
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') return false;
    auto bytes = parseHexBytes(data.substr(1));
    if (!bytes) return false;
    switch (type) {
        case 1:  // string and expandable string, UTF-16LE with a terminating zero
        case 2: {
            std::string s = utf16leToUtf8(*bytes);
            while (!s.empty() && s.back() == '\0') s.pop_back();
            value = {RegValue::Type::String, 0, std::move(s)};
            st.wide = true;
            return true;
        }
        case 3:
            value = {RegValue::Type::String, 0, std::move(*bytes)};
            return true;
        case 4:
            if (bytes->size() != 4) return false;
            value = {RegValue::Type::Dword, 0, {}};  // little-endian
            for (int i = 3; i >= 0; --i)
                value.dword = value.dword << 8 | static_cast<unsigned char>((*bytes)[i]);
            return true;
        default:  // multi-strings, qwords and the rest have no form in this store
            return false;
    }
}

void parseValueLine(std::string_view line, bool utf16File, RegStatement &st) {
    std::string name;
    auto rest = parseQuoted(line, name);
    if (!rest) return;
    std::string_view data = trim(*rest);
    if (data.empty() || data.front() != '=') return;
    data = trim(data.substr(1));
    if (data == "-") {
        st.kind = RegStatement::Kind::DeleteValue;
        st.name = std::move(name);
    } else if (parseData(data, utf16File, st)) {
        st.kind = RegStatement::Kind::SetValue;
        st.name = std::move(name);
    }
}

bool continues(std::string_view line) {
    line = trim(line);
    return !line.empty() && line.front() != '[' && line.front() != '"';
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

bool isPrintable(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

std::string quote(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

bool wantsContinuation(std::string_view text) {
    std::string_view last = trim(text.substr(text.rfind('\n') + 1));
    return trim(text).starts_with('"') && last.ends_with('\\');
}

std::vector<RegStatement> parseRegText(std::string_view file) {
    std::string decoded;
    const bool utf16 = file.starts_with("\xFF\xFE");
    if (utf16) {
        decoded = utf16leToUtf8(file.substr(2));
        file = decoded;
    } else if (file.starts_with("\xEF\xBB\xBF")) {
        file.remove_prefix(3);
    }
    const auto lines = splitLines(file);
    std::vector<RegStatement> out;
    bool seenContent = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        RegStatement st;
        st.text = std::string(lines[i]);
        std::string joined(trim(lines[i]));
        // A value split over lines ends each part but the last with a backslash; a blank line,
        // a header or another value is never a continuation.
        while (wantsContinuation(joined) && i + 1 < lines.size() && continues(lines[i + 1])) {
            joined.pop_back();
            joined += trim(lines[++i]);
            st.text += '\n';
            st.text += lines[i];
        }
        std::string_view t = joined;
        if (t.empty()) {
            st.kind = RegStatement::Kind::Blank;
        } else if (!seenContent &&
                   (t == "Windows Registry Editor Version 5.00" || t == "REGEDIT4")) {
            st.kind = RegStatement::Kind::Signature;
        } else if (t.front() == '[' && t.back() == ']' && t.size() > 2) {
            parseHeader(t.substr(1, t.size() - 2), st);
        } else if (t.front() == '"') {
            parseValueLine(t, utf16, st);
        }
        if (st.kind != RegStatement::Kind::Blank) seenContent = true;
        out.push_back(std::move(st));
    }
    return out;
}

bool storableName(std::string_view name) {
    return name.find('\n') == std::string_view::npos;
}

std::string formatKeyLine(std::string_view path) {
    // A path that would read as a deletion or as a hive root gets a root put before it, which
    // the reader of a hive file drops again.
    const bool misread =
        path.starts_with('-') || rootOf(path.substr(0, path.find('\\'))) != RegRoot::None;
    return (misread ? "[HKEY_CURRENT_USER\\" : "[") + std::string(path) + "]";
}

std::string formatValueLine(std::string_view name, const RegValue &value) {
    std::string line = quote(name) + "=";
    if (value.type == RegValue::Type::Dword) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", value.dword);
        return line + buf;
    }
    if (isPrintable(value.bytes)) return line + quote(value.bytes);
    line += "hex:";
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < value.bytes.size(); ++i) {
        if (i > 0) line += (i % 24 == 0) ? ",\\\n  " : ",";
        auto c = static_cast<unsigned char>(value.bytes[i]);
        line += digits[c >> 4];
        line += digits[c & 15];
    }
    return line;
}

}  // namespace tessel
