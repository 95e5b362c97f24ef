#pragma once
// TLogger: one text log file with a level filter, rotation by record count or age into
// numbered archives, and hex dumps. Nothing is held in the process: each record (a line, a
// dump's text line with its dump lines, a banner) goes to the file with one write(2) before the
// call that logs it returns, so tail -f shows it at once and a crash or kill -9 of the process
// loses none. lmWriteThrough further waits until each record is on the storage device.
//
// Every operation waits at most 200 ms for the logger's re-entrant lock. When the wait
// expires the record is dropped and the operation answers false with ETIMEDOUT as last
// error: a record is either written whole or not at all, never interleaved with another.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "lintra/runtime/CharFunc.h"
#include "lintra/runtime/LogFile.h"
#include "lintra/runtime/LogRecord.h"
#include "lintra/runtime/LoggerSettings.h"
#include "lintra/runtime/RecursiveMutex.h"
#include "platform/Clock.h"

namespace lintra {

class TLogger {
public:
    static constexpr uint32_t kLockWaitMs = 200;

    // The clock gives the open time that age rotation measures from.
    TLogger(std::string fileName, int requestedLevel, int mode,
            tessel::Clock &clock = tessel::SteadyClock::instance());
    // Level 0, mode lmDeferOpen + lmOnlyIfExists.
    explicit TLogger(std::string fileName);
    ~TLogger();
    TLogger(const TLogger &) = delete;
    TLogger &operator=(const TLogger &) = delete;

    // True when the record was filtered out or written; false when the file could not be
    // opened or written, or the lock wait expired. stamp false reuses the previous time and
    // thread id.
    bool Write(int level, std::string_view text, bool stamp = true) {
        if (!Enabled(level)) return true;
        return WriteRecord(level, text, stamp);
    }
    // True when a record of this level passes the filter.
    bool Enabled(int level) const { return level <= threshold_.load(std::memory_order_relaxed); }
    // The text as a record, then 16 bytes per line in the columns flags select.
    bool WriteDump(int level, std::string_view text, int length, const void *data, int flags);
    // The text and up to 64 bytes on one line, the bytes starting in a fixed column.
    bool WriteHexLine(int level, std::string_view text, int length, const void *data, int flags);
    void SetLevel(int newLevel);
    int Level() const { return level_.load(std::memory_order_relaxed); }

    const std::string &FileName() const { return fileName_; }
    // The settings as resolved at construction.
    const LoggerSettings &Settings() const { return settings_; }
    bool Opened();
    uint32_t LastError() const { return lastError_.load(std::memory_order_relaxed); }
    std::string LastErrorText();

private:
    bool WriteRecord(int level, std::string_view text, bool stamp);
    // The steps below run with lock_ held.
    bool BeginRecord(bool stamp);
    bool OpenFile();
    // Writes one whole record and counts it.
    bool PutRecord(std::string_view record);
    // Closes after the record under lmCloseEachRecord; answers written.
    bool EndRecord(bool written);
    bool RotationDue() const;
    void Rotate();
    bool Fail(int error);
    void StoreLevel(int level);

    const std::string fileName_;
    tessel::Clock &clock_;
    const LoggerSettings settings_;
    std::atomic<int> level_;
    // What Write compares with: the level, or below every record at level 0 or less, which
    // writes nothing at all.
    std::atomic<int> threshold_;
    const bool writeThrough_;
    const bool deferOpen_;
    const bool onlyIfExists_;
    const bool closeEachRecord_;
    const int fileCount_;

    RecursiveMutex lock_;
    LogStamp stamp_;
    uint64_t openTimeMs_ = 0;
    int recordCount_ = 0;
    std::atomic<uint32_t> lastError_{0};
    std::string lastErrorText_;
    bool bannerWritten_ = false;
    bool replaceOnOpen_ = false;
    RecordBuffer line_;
    // A dump's text line and dump lines, gathered for their one write.
    std::string dump_;
    LogFile file_;
};

}  // namespace lintra
