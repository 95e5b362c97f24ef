#pragma once
// The file under a TLogger: appends whole lines to a small buffer of its own and writes the
// buffer with one write(2), so lines of several threads or processes never mix (the file is
// opened for appending). The owner decides when to flush; close always flushes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintra {

class LogFile {
public:
    enum class OpenMode { OpenOrCreate, ExistingOnly, Replace };

    LogFile() = default;
    ~LogFile() { close(); }
    LogFile(const LogFile &) = delete;
    LogFile &operator=(const LogFile &) = delete;

    // false with lastError() set when the file cannot be opened.
    bool open(const std::string &path, OpenMode mode, bool writeThrough);
    bool isOpen() const { return fd_ >= 0; }
    // Queues bytes, writing the buffer out first when they would not fit. nowMs marks when the
    // oldest unwritten byte arrived.
    bool append(std::string_view bytes, uint64_t nowMs);
    bool flush();
    // True when unwritten bytes have waited at least ageMs.
    bool pendingSince(uint64_t nowMs, uint64_t ageMs) const {
        return used_ != 0 && nowMs - firstPendingMs_ >= ageMs;
    }
    // Flushes and closes; false when the flush failed.
    bool close();
    int lastError() const { return lastError_; }

private:
    bool writeAll(const char *data, size_t size);

    static constexpr size_t kBufferSize = 8192;
    int fd_ = -1;
    int lastError_ = 0;
    size_t used_ = 0;
    uint64_t firstPendingMs_ = 0;
    char buffer_[kBufferSize];
};

}  // namespace lintra
