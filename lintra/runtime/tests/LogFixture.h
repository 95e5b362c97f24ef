#pragma once
// What the runtime suites share: an isolated host (temp cwd and settings hives), settings
// store writes, and reading a log back as parsed records.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "testsupport/TempDir.h"

namespace runtime_test {

inline void SetDword(std::string_view key, std::string_view name, uint32_t value) {
    auto k = tessel::RegKey::open(tessel::Hive::CurrentUser, key, true);
    ASSERT_TRUE(k && k->writeDword(name, value)) << key << " " << name;
}

inline std::optional<uint32_t> GetDword(std::string_view key, std::string_view name) {
    auto k = tessel::RegKey::open(tessel::Hive::CurrentUser, key, false);
    return k ? k->readDword(name) : std::nullopt;
}

inline bool KeyExists(std::string_view key) {
    return tessel::RegKey::open(tessel::Hive::CurrentUser, key, false).has_value();
}

struct Record {
    int level;
    std::string text;
};

// Splits a log file into its CR LF lines; a file that does not end in CR LF fails the test.
inline std::vector<std::string> Lines(const std::string &content) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = content.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << content.substr(pos);
            break;
        }
        lines.push_back(content.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// A whole record line: date, time with milliseconds, level, thread id in lower-case hex in at
// least five columns, two spaces, text.
inline std::optional<Record> ParseRecord(const std::string &line) {
    constexpr std::string_view kStamp = "dddd.dd.dd dd:dd:dd.ddd ";
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto hex = [&](char c) { return digit(c) || (c >= 'a' && c <= 'f'); };
    if (line.size() < kStamp.size()) return std::nullopt;
    for (size_t i = 0; i < kStamp.size(); ++i) {
        if (kStamp[i] == 'd' ? !digit(line[i]) : line[i] != kStamp[i]) return std::nullopt;
    }
    size_t pos = kStamp.size();
    size_t levelStart = pos;
    if (pos < line.size() && line[pos] == '-') ++pos;
    size_t digitsStart = pos;
    while (pos < line.size() && digit(line[pos])) ++pos;
    if (pos == digitsStart || pos >= line.size() || line[pos] != ' ') return std::nullopt;
    int level = std::stoi(line.substr(levelStart, pos - levelStart));
    size_t threadStart = ++pos;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    size_t hexStart = pos;
    while (pos < line.size() && hex(line[pos])) ++pos;
    if (pos == hexStart || pos - threadStart < 5 || line.compare(pos, 2, "  ") != 0) return std::nullopt;
    return Record{level, line.substr(pos + 2)};
}

// Every line of the file must be a record; answers their texts.
inline std::vector<std::string> RecordTexts(const std::string &content) {
    std::vector<std::string> texts;
    for (const std::string &line : Lines(content)) {
        std::optional<Record> r = ParseRecord(line);
        if (!r) {
            ADD_FAILURE() << "not a record: " << line;
            continue;
        }
        texts.push_back(r->text);
    }
    return texts;
}

inline constexpr std::string_view kLoggingRoot = "Software\\Tessel\\Logging";

class IsolatedTest : public ::testing::Test {
protected:
    std::string Read(const std::string &name) const { return host_.dir().read(name); }
    bool Exists(const std::string &name) const { return std::filesystem::exists(host_.dir() / name); }
    testsupport::IsolatedHost host_;
};

}  // namespace runtime_test
