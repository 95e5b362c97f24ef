#include "lintra/nx/NXIniFile.h"

#include <optional>

namespace lintra::nx {

namespace {

constexpr std::string_view kDevicePrefix = "Device ";
constexpr std::string_view kLinePrefix = "Line ";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The section's name after the prefix, or nullopt when it is not such a section.
std::optional<std::string> NameAfter(std::string_view section, std::string_view prefix) {
    if (!StartsWithNoCase(section, prefix)) return std::nullopt;
    const std::string_view name = Trim(section.substr(prefix.size()));
    if (name.empty() || name.size() > TNXIniFile::kMaxNameLength) return std::nullopt;
    return std::string(name);
}

TParamList SectionParams(const tessel::Profile &profile, std::string_view section) {
    TParamList params;
    for (const auto &[key, value] : profile.entries(section)) params.Append(key + "=" + value);
    return params;
}

}  // namespace

bool TNXIniFile::Load() {
    const std::optional<tessel::Profile> profile = tessel::Profile::load(kFileName);
    return Read(profile ? *profile : tessel::Profile());
}

bool TNXIniFile::Read(const tessel::Profile &profile) {
    devices_.clear();
    lines_.clear();
    const std::vector<std::string> sections = profile.sectionNames();
    for (const std::string &section : sections) {
        if (std::optional<std::string> name = NameAfter(section, kDevicePrefix)) {
            if (devices_.size() < kMaxSections) devices_.push_back({std::move(*name), SectionParams(profile, section)});
        } else if (std::optional<std::string> line = NameAfter(section, kLinePrefix)) {
            TParamList params = SectionParams(profile, section);
            if (params.Value("Device").value_or("").empty() || lines_.size() >= kMaxSections) continue;
            lines_.push_back({std::move(*line), std::move(params)});
        }
    }
    common_ = SectionParams(profile, "Common");
    return !sections.empty();
}

std::vector<std::string> TNXIniFile::GetDeviceNames() const {
    std::vector<std::string> names;
    for (const Section &device : devices_) names.push_back(device.name);
    return names;
}

bool TNXIniFile::GetDeviceParams(std::string_view name, TParamList &params) const {
    return Find(devices_, name, params);
}

std::vector<std::string> TNXIniFile::GetLinesOfDevice(std::string_view deviceName) const {
    std::vector<std::string> names;
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line) {
        if (deviceName.empty() || line->params.Value("Device") == deviceName) names.push_back(line->name);
    }
    return names;
}

bool TNXIniFile::GetLineParams(std::string_view name, TParamList &params) const {
    return Find(lines_, name, params);
}

// Two sections can trim to one name ("Device A", "Device  A"): the later one in the file counts.
bool TNXIniFile::Find(const std::vector<Section> &sections, std::string_view name, TParamList &params) {
    for (auto section = sections.rbegin(); section != sections.rend(); ++section) {
        if (section->name != name) continue;
        params = section->params;
        return true;
    }
    return false;
}

}  // namespace lintra::nx
