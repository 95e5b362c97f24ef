#include "lintra/runtime/LoggerSettings.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace lintra {

namespace {

using tessel::Hive;
using tessel::RegKey;

int ReadInt(const RegKey &key, std::string_view name, int fallback) {
    std::optional<uint32_t> value = key.readDword(name);
    return value ? static_cast<int32_t>(*value) : fallback;
}

// A missing value is created with its default; one of the wrong type only yields it.
int ReadOrWriteBack(RegKey &key, std::string_view name, int fallback, SettingsAccess access) {
    if (!key.read(name)) {
        if (access == SettingsAccess::ReadOnly) return fallback;
        key.writeDword(name, static_cast<uint32_t>(fallback));
        return fallback;
    }
    return ReadInt(key, name, fallback);
}

std::string_view BaseName(std::string_view path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

LoggingDefaults ReadLoggingDefaults(SettingsAccess access) {
    LoggingDefaults d;
    std::optional<RegKey> root = RegKey::open(Hive::CurrentUser, kLoggingRootKey, access == SettingsAccess::Update);
    if (!root) return d;
    d.maxLevel = ReadOrWriteBack(*root, "MaxLevel", d.maxLevel, access);
    d.recordLimit = ReadOrWriteBack(*root, "LimRecs", d.recordLimit, access);
    d.timeLimitMinutes = ReadOrWriteBack(*root, "LimTime", d.timeLimitMinutes, access);
    d.fileCount = ReadOrWriteBack(*root, "MaxFiles", d.fileCount, access);
    d.rotate = ReadOrWriteBack(*root, "Rotate", d.rotate ? 1 : 0, access) != 0;
    return d;
}

LoggerSettings ResolveLoggerSettings(std::string_view fileName, int requestedLevel, int mode,
                                     SettingsAccess access) {
    LoggingDefaults d = ReadLoggingDefaults(access);
    LoggerSettings s;
    s.level = std::min(d.maxLevel, requestedLevel);
    s.mode = mode;
    s.recordLimit = d.recordLimit;
    s.timeLimitMinutes = d.timeLimitMinutes;
    s.fileCount = d.fileCount;
    s.rotate = d.rotate;

    std::string ownPath = std::string(kLoggingRootKey) + "\\" + std::string(BaseName(fileName));
    bool createOwn = access == SettingsAccess::Update && (mode & lmNoRegistryKey) == 0;
    std::optional<RegKey> own = RegKey::open(Hive::CurrentUser, ownPath, createOwn);
    if (!own) return s;
    s.level = ReadInt(*own, "MaxLevel", s.level);
    s.mode = ReadInt(*own, "Mode", s.mode);
    s.recordLimit = ReadInt(*own, "LimRecs", s.recordLimit);
    s.timeLimitMinutes = ReadInt(*own, "LimTime", s.timeLimitMinutes);
    s.fileCount = ReadInt(*own, "MaxFiles", s.fileCount);
    s.rotate = ReadInt(*own, "Rotate", s.rotate ? 1 : 0) != 0;
    return s;
}

}  // namespace lintra
