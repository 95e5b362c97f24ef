#include "platform/HiveFile.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/LockedFile.h"

namespace tessel {
namespace {

std::string envOr(const char *name, const std::string &fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

}  // namespace

std::string hiveFile(Hive hive) {
    if (hive == Hive::LocalMachine) return envOr("TESSEL_MACHINE_HIVE", "/etc/tessel/registry");
    std::string config = envOr("XDG_CONFIG_HOME", envOr("HOME", ".") + "/.config");
    return envOr("TESSEL_USER_HIVE", config + "/tessel/registry");
}

RegDocument readHive(Hive hive) {
    const std::string path = hiveFile(hive);
    FileLock lock = FileLock::shared(path);
    std::string text;
    if (!readWholeFile(path, text)) text.clear();
    return RegDocument::parse(text);
}

std::optional<RegDocument> updateHive(Hive hive, const std::function<void(RegDocument &)> &change) {
    const std::string path = hiveFile(hive);
    const bool user = hive == Hive::CurrentUser;
    const mode_t mode = user ? 0600 : 0644;
    std::error_code ec;
    auto dir = std::filesystem::path(path).parent_path();
    if (!dir.empty() && !std::filesystem::exists(dir, ec)) {
        std::filesystem::create_directories(dir, ec);
        if (ec) return std::nullopt;
        if (user) ::chmod(dir.c_str(), 0700);
    }
    FileLock lock = FileLock::exclusive(path, mode);
    if (!lock.held()) return std::nullopt;
    std::string before;
    if (!readWholeFile(path, before)) return std::nullopt;  // never replace what we could not read
    RegDocument doc = RegDocument::parse(before);
    const std::string unchanged = doc.serialize();
    change(doc);
    std::string after = doc.serialize();
    if (after != unchanged && !replaceFile(path, after, mode)) return std::nullopt;
    return doc;
}

}  // namespace tessel
