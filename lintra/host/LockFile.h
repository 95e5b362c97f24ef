#pragma once
// An flock on a file that may be removed by whoever holds it last: after the lock is granted,
// the file is checked to still be the one at the path, and a stale one is dropped and retried.
#include <filesystem>

namespace lintra::host {

class LockFile {
public:
    // Opens (creating when absent) and locks with flock operation `operation` (LOCK_SH or
    // LOCK_EX, possibly with LOCK_NB). isHeld() tells whether it worked.
    LockFile(std::filesystem::path path, int operation);
    ~LockFile();
    LockFile(const LockFile &) = delete;
    LockFile &operator=(const LockFile &) = delete;

    bool isHeld() const { return fd_ >= 0; }
    int error() const { return error_; }
    // Changes the lock held (for example LOCK_EX | LOCK_NB to learn whether anyone else holds
    // it). Linux drops the old lock before it tries the new one, so a refused change leaves no
    // lock at all.
    bool relock(int operation);
    // Removes the file while the lock is still held, so the next locker makes a new one.
    void removeFile();

private:
    std::filesystem::path path_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace lintra::host
