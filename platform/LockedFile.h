#pragma once
// A file that several processes and threads read and replace whole. An flock on "<file>.lock"
// beside it orders them: writers hold it exclusively, readers shared. A writer puts the new
// text in a temporary file in the same directory, fsyncs it and renames it over the file, so
// a reader sees the old text or the new, never a part, and a failed write leaves the old.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace tessel {

class FileLock {
  public:
    // Creates the lock file with `mode` when it is missing. held() is false when it could not
    // be opened or locked.
    static FileLock exclusive(const std::string &file, mode_t mode);
    // Only an existing lock file is taken: a reader that may not create it reads unlocked,
    // which is still safe since writers rename whole files.
    static FileLock shared(const std::string &file);

    ~FileLock();
    FileLock(FileLock &&other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    FileLock &operator=(FileLock &&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    static FileLock open(const std::string &file, int flags, mode_t mode, int operation);

    int fd_;
};

// A missing file reads as empty; false on a read error.
bool readWholeFile(const std::string &file, std::string &text);

// Replaces the file with text, keeping its mode (newMode for a file not there yet). False,
// with the file as it was and no temporary left behind, when any step fails. Call it holding
// the exclusive FileLock.
bool replaceFile(const std::string &file, std::string_view text, mode_t newMode);

}  // namespace tessel
