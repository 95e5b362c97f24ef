#include "lintra/runtime/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace lintra {

bool LogFile::open(const std::string &path, OpenMode mode, bool writeThrough) {
    close();
    int flags = O_WRONLY | O_APPEND | O_CLOEXEC;
    if (mode == OpenMode::Replace) flags |= O_CREAT | O_TRUNC;
    if (mode == OpenMode::OpenOrCreate) flags |= O_CREAT;
    // O_DSYNC rather than fdatasync after each write: the record and its sync are one system
    // call, so no path (banner, dump, rotation) can write without syncing, and a device error
    // is reported by the write of the record it hit instead of by a later, separate call.
    if (writeThrough) flags |= O_DSYNC;
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0) {
        lastError_ = errno;
        return false;
    }
    return true;
}

bool LogFile::write(std::string_view record) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    const char *data = record.data();
    size_t size = record.size();
    // A regular file takes the whole record in one call; it comes back short only when the
    // disk fills or a size limit is reached, and the next call then says why.
    while (size > 0) {
        ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            lastError_ = errno;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void LogFile::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace lintra
