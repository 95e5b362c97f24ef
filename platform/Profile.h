#pragma once
// Private-profile (INI) files with the semantics the library and the loader rely on: section
// and key names compared without regard to case, blanks around names and values trimmed, the
// first of duplicate keys wins, sections listed in file order. Lines that are neither a
// [section] header nor key=value are ignored; so is anything before the first section.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessel {

class Profile {
public:
    // nullopt when the file cannot be read.
    static std::optional<Profile> load(const std::string &path);
    static Profile parse(std::string_view text);

    std::vector<std::string> sectionNames() const;
    // Every key=value line of the section in file order, duplicates included.
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string value(std::string_view section, std::string_view key, std::string_view fallback) const;
    int intValue(std::string_view section, std::string_view key, int fallback) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const Section *find(std::string_view section) const;
    std::vector<Section> sections_;
};

}  // namespace tessel
