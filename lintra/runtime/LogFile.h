#pragma once
// The file under a TLogger. Each record goes to the operating system with one write(2) before
// the logging call returns, so the page cache holds it at once: tail -f shows it and it
// outlives a crash or kill -9 of the process. The file is opened for appending, so every
// write lands whole at the end and records of several threads or processes never mix.
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

    // false with lastError() set when the file cannot be opened. writeThrough: each write
    // returns only once its record is on the storage device.
    bool open(const std::string &path, OpenMode mode, bool writeThrough);
    bool isOpen() const { return fd_ >= 0; }
    // One whole record; false with lastError() set when it could not be written.
    bool write(std::string_view record);
    void close();
    int lastError() const { return lastError_; }

private:
    int fd_ = -1;
    int lastError_ = 0;
};

}  // namespace lintra
