#include "lintra/runtime/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lintra {

bool LogFile::open(const std::string &path, OpenMode mode, bool writeThrough) {
    close();
    int flags = O_WRONLY | O_APPEND | O_CLOEXEC;
    if (mode == OpenMode::Replace) flags |= O_CREAT | O_TRUNC;
    if (mode == OpenMode::OpenOrCreate) flags |= O_CREAT;
    if (writeThrough) flags |= O_DSYNC;
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0) {
        lastError_ = errno;
        return false;
    }
    return true;
}

bool LogFile::writeAll(const char *data, size_t size) {
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

bool LogFile::append(std::string_view bytes, uint64_t nowMs) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    if (used_ + bytes.size() > kBufferSize && !flush()) return false;
    if (bytes.size() > kBufferSize) return writeAll(bytes.data(), bytes.size());
    if (used_ == 0) firstPendingMs_ = nowMs;
    std::memcpy(buffer_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return true;
}

bool LogFile::flush() {
    if (used_ == 0) return true;
    size_t size = used_;
    used_ = 0;  // a failed write drops the buffer rather than repeating half of it
    return writeAll(buffer_, size);
}

bool LogFile::close() {
    if (fd_ < 0) return true;
    bool flushed = flush();
    ::close(fd_);
    fd_ = -1;
    return flushed;
}

}  // namespace lintra
