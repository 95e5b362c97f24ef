#pragma once
// How a log's settings come about: the library-wide values of the logging key (missing ones
// are written back with their defaults), cut by the creator's level and mode, then overridden
// by the log's own key named after its file.
#include <string_view>

namespace lintra {

// Mode bits of a log.
enum LogMode : int {
    lmDeferOpen = 1,        // open at the first record that passes the level filter
    lmWriteThrough = 2,     // synchronous writes, flushed per record
    lmOnlyIfExists = 4,     // never create the file (rotation aside)
    lmCloseEachRecord = 8,  // close after every record
    lmNoRegistryKey = 16,   // read the log's own key but never create it
};

inline constexpr std::string_view kLoggingRootKey = "Software\\Tessel\\Logging";

// The library-wide values of the logging key.
struct LoggingDefaults {
    int maxLevel = 0;
    int recordLimit = 100000;
    int timeLimitMinutes = 4320;
    int fileCount = 1;
    bool rotate = true;
};

struct LoggerSettings {
    int level = 0;
    int mode = 0;
    int recordLimit = 100000;  // "LimRecs"; 0 or less: none
    int timeLimitMinutes = 4320;  // "LimTime"; 0 or less: none
    int fileCount = 1;         // "MaxFiles": highest archive number kept
    bool rotate = true;
};

enum class SettingsAccess {
    Update,    // what a log does: create missing keys and library-wide values
    ReadOnly,  // what a reporting tool does: touch nothing
};

// Missing values keep their defaults (and are written back with Update).
LoggingDefaults ReadLoggingDefaults(SettingsAccess access);

// Reads the settings store. A store that cannot be opened leaves the defaults (level 0).
LoggerSettings ResolveLoggerSettings(std::string_view fileName, int requestedLevel, int mode,
                                     SettingsAccess access = SettingsAccess::Update);

}  // namespace lintra
