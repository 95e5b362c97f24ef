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
int ReadOrWriteBack(RegKey &key, std::string_view name, int fallback) {
    if (!key.read(name)) {
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

LoggerSettings ResolveLoggerSettings(std::string_view fileName, int requestedLevel, int mode) {
    LoggerSettings s;
    s.mode = mode;
    std::optional<RegKey> root = RegKey::open(Hive::CurrentUser, kLoggingRootKey, true);
    if (!root) return s;
    int maxLevel = ReadOrWriteBack(*root, "MaxLevel", 0);
    s.recordLimit = ReadOrWriteBack(*root, "LimRecs", s.recordLimit);
    s.timeLimitMinutes = ReadOrWriteBack(*root, "LimTime", s.timeLimitMinutes);
    s.fileCount = ReadOrWriteBack(*root, "MaxFiles", s.fileCount);
    s.rotate = ReadOrWriteBack(*root, "Rotate", 1) != 0;
    s.level = std::min(maxLevel, requestedLevel);

    std::string ownPath = std::string(kLoggingRootKey) + "\\" + std::string(BaseName(fileName));
    std::optional<RegKey> own = RegKey::open(Hive::CurrentUser, ownPath, (mode & lmNoRegistryKey) == 0);
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
