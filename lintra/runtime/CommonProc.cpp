#include "lintra/runtime/CommonProc.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "lintra/ports/EventRecord.h"
#include "lintra/runtime/DisabledCommands.h"
#include "lintra/runtime/LibrarySettings.h"
#include "lintra/runtime/Logger.h"
#include "platform/Registry.h"

namespace lintra {

namespace {

// The library's ELF constructor may run before the dynamic initialisers of this archive, so
// every global here is constant-initialised.
constinit std::array<TLogger *, kLineCount> lineLogs{};
constinit TLogger *commandLog = nullptr;
// Logs no part of the library writes to; their lasting effect is their settings keys.
constexpr std::array<const char *, 5> kOrvelLogNames = {
    "orvel.log", "orvel_diagn.log", "orvel_mon.log", "orvel_com.log", "orvel_hotel.log"};
constinit std::array<TLogger *, kOrvelLogNames.size()> orvelLogs{};
constinit LibrarySettings settings;
constinit DisabledCommands disabledCommands;

constexpr std::array<std::string_view, 5> kObsoleteLoggingSubKeys = {
    "LogLimRecs", "LogLimTime", "LogMaxFiles", "LogRotate", "Mode"};

std::optional<tessel::RegKey> OpenKey(std::string_view path) {
    return tessel::RegKey::open(tessel::Hive::CurrentUser, path, true);
}

void CreateLogSet() {
    int mainLevel = EffectiveLevel(settings.lineLevel[0]);
    lineLogs[0] = new TLogger("lintra.log", mainLevel, lmDeferOpen);
    std::error_code noCwd;
    std::filesystem::path cwd = std::filesystem::current_path(noCwd);
    disabledCommands.loadFile((noCwd ? std::filesystem::path("discmd.ini") : cwd / "discmd.ini").string());
    commandLog = new TLogger("ContrCommand.log", mainLevel, lmDeferOpen | lmOnlyIfExists);
    for (int line = 1; line < kLineCount; ++line) {
        int level = std::max(EffectiveLevel(settings.lineLevel[line]), mainLevel);
        if (level > 0) {
            lineLogs[line] = new TLogger("Line" + std::to_string(line) + "lintra.log", level,
                                         lmDeferOpen | lmNoRegistryKey);
        }
    }
    for (size_t i = 0; i < kOrvelLogNames.size(); ++i) orvelLogs[i] = new TLogger(kOrvelLogNames[i]);
}

// A key that cannot be opened ends the sequence quietly; what was not read keeps its default.
void LoadSequence() {
    std::optional<tessel::RegKey> portServer = OpenKey(kPortServerKey);
    if (!portServer) return;
    ReadPortServer(*portServer, settings);

    std::optional<tessel::RegKey> logging = OpenKey(kLineLoggingKey);
    if (!logging) return;
    for (std::string_view name : kObsoleteLoggingSubKeys) logging->deleteSubKey(name);
    ReadLineLevels(*logging, settings);
    CreateLogSet();

    std::optional<tessel::RegKey> speeds = OpenKey(kSpeedsKey);
    if (!speeds) return;
    ReadSpeeds(*speeds, settings);

    std::optional<tessel::RegKey> policy = OpenKey(kPolicyKey);
    if (!policy) return;
    ReadPolicy(*policy, settings);
}

template <size_t N>
void DeleteLogs(std::array<TLogger *, N> &logs) {
    for (TLogger *&log : logs) {
        delete log;
        log = nullptr;
    }
}

void Dump(int line, std::string_view text, const void *data, int length, int level) {
    if (TLogger *log = LineLog(line)) log->WriteDump(level, text, length, data, dfHex);
}

}  // namespace

void CommonProcLoad() {
    CommonProcUnload();
    // Runs inside the library's constructor, where nothing may escape; whatever failed
    // leaves the rest at the built-in values.
    try {
        LoadSequence();
    } catch (...) {
    }
}

void CommonProcUnload() {
    DeleteLogs(orvelLogs);
    delete commandLog;
    commandLog = nullptr;
    DeleteLogs(lineLogs);
    settings = LibrarySettings{};
    disabledCommands.clear();
}

TLogger *LineLog(int line) { return line >= 0 && line < kLineCount ? lineLogs[line] : nullptr; }

TLogger *CommandLog() { return commandLog; }

bool LineLogEnabled(int line, int level) {
    TLogger *log = LineLog(line);
    return log != nullptr && log->Enabled(level);
}

void LogMain(std::string_view text, int level) { LogLine(0, text, level); }

void LogLine(int line, std::string_view text, int level) {
    if (TLogger *log = LineLog(line)) log->Write(level, text, true);
}

void LogLineBytes16(int line, std::string_view text, std::array<uint8_t, 16> bytes, int level) {
    Dump(line, text, bytes.data(), static_cast<int>(bytes.size()), level);
}

void LogLineBytes16Ref(int line, std::string_view text, std::span<const uint8_t, 16> bytes, int level) {
    Dump(line, text, bytes.data(), static_cast<int>(bytes.size()), level);
}

void LogLineEvent(int line, std::string_view text, const EventRecord &record, int level) {
    // The length field comes from the equipment; the record never holds more than its 10 bytes.
    int length = std::min<int>(record.data_length, kEventDataBytes);
    Dump(line, text, record.data, length, level);
}

void LogLineBuffer(int line, std::string_view text, const void *data, int level, int length) {
    Dump(line, text, data, length, level);
}

int CycleCount() { return settings.cycleCount; }

uint8_t LineSpeedMode(int line) {
    return line >= 0 && line < kLineCount ? settings.speedMode[line] : kDefaultSpeedMode;
}

const PolicySettings &Policy() { return settings.policy; }

bool IsCommandDisabled(int line, std::span<const uint8_t> packet) {
    return packet.size() >= 3 && disabledCommands.isDisabled(line, packet[2]);
}

}  // namespace lintra
