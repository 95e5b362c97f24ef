#include "zaltor/shell/db/AliasList.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/KeyName.h"
#include "platform/Profile.h"

namespace zaltor::shell {
namespace {

std::string envOr(const char *name, const std::string &fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// A relative Path= means beside the aliases.ini, not wherever the program was started.
std::string absoluteBeside(const std::string &path, const std::string &file) {
    if (path.empty()) return path;
    const std::filesystem::path p(path);
    if (p.is_absolute()) return path;
    return (std::filesystem::absolute(file).parent_path() / p).lexically_normal().string();
}

}  // namespace

std::vector<std::string> aliasFiles() {
    if (const char *named = std::getenv("TESSEL_ALIASES"); named && *named) return {named};
    const std::string config = envOr("XDG_CONFIG_HOME", envOr("HOME", ".") + "/.config");
    return {config + "/tessel/aliases.ini", "/etc/tessel/aliases.ini"};
}

TAliasList TAliasList::load(const std::vector<std::string> &files) {
    TAliasList list;
    for (const auto &file : files) {
        std::ifstream in(file, std::ios::binary);
        list.add(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), file);
    }
    return list;
}

void TAliasList::add(std::string_view text, const std::string &file) {
    files_.push_back(file);
    const auto profile = tessel::Profile::parse(text);
    for (const auto &section : profile.sectionNames()) {
        if (section.empty() || section.find('\\') != std::string::npos || find(section)) continue;
        entries_.push_back(TAliasEntry{
            .name = section,
            .driver = profile.value(section, "Driver", ""),
            .path = absoluteBeside(profile.value(section, "Path", ""), file),
            .server = profile.value(section, "Server", ""),
            .database = profile.value(section, "Database", ""),
            .file = file,
        });
    }
}

std::vector<std::string> TAliasList::names() const {
    std::vector<std::string> names;
    for (const auto &entry : entries_) names.push_back(entry.name);
    return names;
}

std::optional<TAliasEntry> TAliasList::find(std::string_view alias) const {
    for (const auto &entry : entries_)
        if (tessel::sameName(entry.name, alias)) return entry;
    return std::nullopt;
}

}  // namespace zaltor::shell
