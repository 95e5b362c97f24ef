#pragma once
// The library's log set and its settings as the port drivers see them. Everything here is
// filled once by the load sequence (before any export can run) and only read afterwards, so
// the accessors take no lock. A line number outside 0..255 is never used as an index: the
// log entry points then do nothing and the settings answer their built-in defaults.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "lintra/include/lintra.h"

namespace lintra {

using EventRecord = LintraEventRecord;  // lintra/ports/EventRecord.h pins its layout
class TLogger;

constexpr int kLineCount = 256;

// ---- Log entry points. Each does nothing for a line without a log.
void LogMain(std::string_view text, int level);
void LogLine(int line, std::string_view text, int level);
// Text record, then a hex dump of the bytes.
void LogLineBytes16(int line, std::string_view text, std::array<uint8_t, 16> bytes, int level);
void LogLineBytes16Ref(int line, std::string_view text, std::span<const uint8_t, 16> bytes, int level);
// Dumps the record's data bytes, at most the 10 the record holds whatever its length field says.
void LogLineEvent(int line, std::string_view text, const EventRecord &record, int level);
void LogLineBuffer(int line, std::string_view text, const void *data, int level, int length);

// Cheap check before building an expensive text: true when a record of this level would be
// written to the line's log.
bool LineLogEnabled(int line, int level);
// The line's log (slot 0 is the general log), or nullptr.
TLogger *LineLog(int line);
// "ContrCommand.log", or nullptr before load.
TLogger *CommandLog();

// ---- Settings read at load.
// "CycleCount" of the port-server key.
int CycleCount();
// Speed mode of the panel on the line: non-zero fixes the mode, 0 steps through 0, 1, 2.
uint8_t LineSpeedMode(int line);

// One row of the no-answer step table of the line-controller masters.
struct NoAnswerStep {
    int noConnCount = 0;
    int skipCount = 0;
    int timeMs = 0;  // the "Time" value in seconds * 1000
};

struct PolicySettings {
    int prepareToRestartTimeout = 0;  // ms
    int reqTimeout = 2;               // ms
    int shortTimeout = 0;             // ms
    int cycleTimeout = 0;             // ms
    int skipIfEmpty = 1;
    std::vector<NoAnswerStep> steps;  // empty: the masters' built-in rule
    std::array<bool, 251> specialUnit{};  // "Addr00".."AddrFA" non-zero
    bool special = false;
};
const PolicySettings &Policy();

// True when the command code (byte 2 of the packet) is disabled for every line or for this
// one by "discmd.ini". A packet shorter than 3 bytes carries no code and is never disabled.
bool IsCommandDisabled(int line, std::span<const uint8_t> packet);

// ---- Load and unload of the runtime part of the library (settings, then the log set).
void CommonProcLoad();
void CommonProcUnload();

}  // namespace lintra
