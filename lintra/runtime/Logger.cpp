#include "lintra/runtime/Logger.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace lintra {

namespace {

// Bounds the archive loop of rotation whatever "MaxFiles" holds.
constexpr int kMaxArchives = 999;
// Column where WriteHexLine puts ">>".
constexpr size_t kHexColumn = 54;
// A dump line with offset, hex and character columns and CR LF, for reserving a dump's room.
constexpr size_t kDumpLineChars = 80;
// A dump that needed more memory than this gives it back rather than keep it for the logger's life.
constexpr size_t kDumpCapacityKept = 64 * 1024;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

size_t CharacterCount(std::string_view utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

TLogger::TLogger(std::string fileName, int requestedLevel, int mode, tessel::Clock &clock)
    : fileName_(std::move(fileName)),
      clock_(clock),
      settings_(ResolveLoggerSettings(fileName_, requestedLevel, mode)),
      level_(settings_.level),
      threshold_(0),
      writeThrough_((settings_.mode & lmWriteThrough) != 0),
      deferOpen_((settings_.mode & lmDeferOpen) != 0),
      onlyIfExists_((settings_.mode & lmOnlyIfExists) != 0),
      closeEachRecord_((settings_.mode & lmCloseEachRecord) != 0),
      fileCount_(std::clamp(settings_.fileCount, 0, kMaxArchives)),
      openTimeMs_(clock.nowMs()) {
    StoreLevel(settings_.level);
    if (!deferOpen_) {
        TimedGuard guard(lock_, RecursiveMutex::kInfinite);
        EndRecord(OpenFile());
    }
}

TLogger::TLogger(std::string fileName) : TLogger(std::move(fileName), 0, lmDeferOpen | lmOnlyIfExists) {}

TLogger::~TLogger() {
    TimedGuard guard(lock_, RecursiveMutex::kInfinite);
    if (file_.isOpen()) Write(1, "---------- Стоп [" + fileName_ + "]");
    file_.close();
}

void TLogger::StoreLevel(int level) {
    level_.store(level, std::memory_order_relaxed);
    threshold_.store(level > 0 ? level : INT_MIN, std::memory_order_relaxed);
}

bool TLogger::Fail(int error) {
    lastError_.store(static_cast<uint32_t>(error), std::memory_order_relaxed);
    return false;
}

bool TLogger::OpenFile() {
    openTimeMs_ = clock_.nowMs();
    recordCount_ = 0;
    file_.close();
    LogFile::OpenMode mode = replaceOnOpen_  ? LogFile::OpenMode::Replace
                             : onlyIfExists_ ? LogFile::OpenMode::ExistingOnly
                                             : LogFile::OpenMode::OpenOrCreate;
    if (!file_.open(fileName_, mode, writeThrough_)) {
        lastErrorText_ = std::strerror(file_.lastError());
        return Fail(file_.lastError());
    }
    if (!bannerWritten_ || replaceOnOpen_) {
        int level = Level();
        if (level >= 1) {
            std::string banner = "---------- Старт [" + fileName_ + "], уровень " + std::to_string(level);
            FormatRecord(line_, TakeLogStamp(), 1, banner);
            PutRecord(line_.view());
        }
        bannerWritten_ = true;
        replaceOnOpen_ = false;
    }
    return true;
}

bool TLogger::PutRecord(std::string_view record) {
    if (!file_.write(record)) return Fail(file_.lastError());
    ++recordCount_;
    return true;
}

bool TLogger::EndRecord(bool written) {
    if (closeEachRecord_) file_.close();
    return written;
}

bool TLogger::RotationDue() const {
    if (!settings_.rotate) return false;
    if (settings_.recordLimit > 0 && recordCount_ >= settings_.recordLimit) return true;
    return settings_.timeLimitMinutes > 0 &&
           clock_.nowMs() - openTimeMs_ > static_cast<uint64_t>(settings_.timeLimitMinutes) * 60000u;
}

void TLogger::Rotate() {
    for (int i = fileCount_ - 1; i >= 0; --i) {
        std::rename((fileName_ + std::to_string(i)).c_str(), (fileName_ + std::to_string(i + 1)).c_str());
    }
    file_.close();
    std::rename(fileName_.c_str(), (fileName_ + "0").c_str());
    replaceOnOpen_ = true;
    OpenFile();
    if (closeEachRecord_) file_.close();
}

bool TLogger::BeginRecord(bool stamp) {
    if (RotationDue()) Rotate();
    if (stamp) stamp_ = TakeLogStamp();
    return file_.isOpen() || OpenFile();
}

bool TLogger::WriteRecord(int level, std::string_view text, bool stamp) {
    TimedGuard guard(lock_, kLockWaitMs);
    if (!guard.owns()) return Fail(guard.error());
    if (!BeginRecord(stamp)) return false;
    FormatRecord(line_, stamp_, level, text);
    return EndRecord(PutRecord(line_.view()));
}

bool TLogger::WriteDump(int level, std::string_view text, int length, const void *data, int flags) {
    if (!Enabled(level)) return true;
    TimedGuard guard(lock_, kLockWaitMs);
    if (!guard.owns()) return Fail(guard.error());
    if (!BeginRecord(true)) return false;
    FormatRecord(line_, stamp_, level, text);
    const auto *bytes = static_cast<const uint8_t *>(data);
    if (bytes == nullptr || length < 0) length = 0;
    try {
        dump_.clear();
        dump_.reserve(line_.size() + (static_cast<size_t>(length) + 15) / 16 * kDumpLineChars);
        dump_.append(line_.view());
        TextBuffer<128> dumpLine;
        for (int offset = 0; offset < length; offset += 16) {
            dumpLine.clear();
            int count = std::min(16, length - offset);
            if (flags & dfOffset) {
                dumpLine.append("     ");
                dumpLine.appendHex(static_cast<unsigned>(offset), 4, '0', true);
                dumpLine.push_back(' ');
            }
            if (flags & dfHex) {
                AppendHexBytes(dumpLine, bytes + offset, count, dfHex);
                dumpLine.resize(dumpLine.size() - 2);  // the pad groups go before the two spaces
                for (int i = count; i < 16; ++i) dumpLine.append(" --");
                dumpLine.append("  ");
            }
            if (flags & dfChars) {
                AppendHexBytes(dumpLine, bytes + offset, count, dfChars);
                for (int i = count; i < 16; ++i) dumpLine.push_back(' ');
            }
            dumpLine.append("\r\n");
            dump_.append(dumpLine.view());
        }
    } catch (const std::bad_alloc &) {
        std::string().swap(dump_);
        return EndRecord(Fail(ENOMEM));  // whole or not at all
    }
    bool written = PutRecord(dump_);
    if (written) ++recordCount_;  // the dump lines count as one more record
    if (dump_.capacity() > kDumpCapacityKept) std::string().swap(dump_);
    return EndRecord(written);
}

bool TLogger::WriteHexLine(int level, std::string_view text, int length, const void *data, int flags) {
    if (!Enabled(level)) return true;
    RecordBuffer record;
    std::string_view trimmed = TrimBlanks(text);
    record.append(trimmed);
    size_t chars = CharacterCount(trimmed);
    size_t pad = chars + 2 < kHexColumn ? kHexColumn - chars : 2;
    for (size_t i = 0; i < pad; ++i) record.push_back(' ');
    record.append(">>");
    if (data != nullptr && length > 0) {
        AppendHexBytes(record, static_cast<const uint8_t *>(data), std::min(length, 64), flags);
    }
    return Write(level, record.view(), true);
}

void TLogger::SetLevel(int newLevel) {
    TimedGuard guard(lock_, kLockWaitMs);
    int old = Level();
    if (newLevel != old && guard.owns() && file_.isOpen()) {
        Write(5, "Изменение уровня журнала " + std::to_string(old) + " -> " + std::to_string(newLevel));
    }
    StoreLevel(newLevel);
}

bool TLogger::Opened() {
    TimedGuard guard(lock_, RecursiveMutex::kInfinite);
    return file_.isOpen();
}

std::string TLogger::LastErrorText() {
    TimedGuard guard(lock_, RecursiveMutex::kInfinite);
    return lastErrorText_;
}

}  // namespace lintra
