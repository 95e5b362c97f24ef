#pragma once
// What the runtime suites share: an isolated host (temp cwd and settings hives), settings
// store writes, and reading a log back as parsed records.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <regex>
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

// A whole record line: date, time with milliseconds, level, thread id, two spaces, text.
inline std::optional<Record> ParseRecord(const std::string &line) {
    static const std::regex pattern(
        R"(^\d{4}\.\d{2}\.\d{2} \d{2}:\d{2}:\d{2}\.\d{3} (-?\d+) ( {0,4}[0-9a-f]{1,8})  (.*)$)");
    std::smatch m;
    if (!std::regex_match(line, m, pattern) || m[2].length() < 5) return std::nullopt;
    return Record{std::stoi(m[1]), m[3]};
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
