#include "lintra/host/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lintra::host {

namespace {

bool stillAtPath(int fd, const std::filesystem::path &path) {
    struct stat held{}, named{};
    return fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

LockFile::LockFile(std::filesystem::path path, int operation) : path_(std::move(path)) {
    for (;;) {
        int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            error_ = errno;
            return;
        }
        int status;
        do status = flock(fd, operation);
        while (status != 0 && errno == EINTR);
        if (status != 0) {
            error_ = errno;
            ::close(fd);
            return;
        }
        if (stillAtPath(fd, path_)) {
            fd_ = fd;
            return;
        }
        ::close(fd);  // the last holder removed it meanwhile
    }
}

LockFile::~LockFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool LockFile::relock(int operation) {
    if (flock(fd_, operation) == 0) return true;
    error_ = errno;
    return false;
}

void LockFile::removeFile() { ::unlink(path_.c_str()); }

}  // namespace lintra::host
