#include "platform/LockedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace tessel {
namespace {

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

FileLock FileLock::open(const std::string &file, int flags, mode_t mode, int operation) {
    Fd fd(::open((file + ".lock").c_str(), flags | O_CLOEXEC, mode));
    if (!fd.ok()) return FileLock(-1);
    while (::flock(fd.get(), operation) != 0)
        if (errno != EINTR) return FileLock(-1);
    return FileLock(fd.release());
}

FileLock FileLock::exclusive(const std::string &file, mode_t mode) {
    return open(file, O_RDWR | O_CREAT, mode, LOCK_EX);
}

FileLock FileLock::shared(const std::string &file) {
    return open(file, O_RDONLY, 0, LOCK_SH);
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool readWholeFile(const std::string &file, std::string &text) {
    text.clear();
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.ok()) return errno == ENOENT;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.append(buf, static_cast<size_t>(n));
    }
}

bool replaceFile(const std::string &file, std::string_view text, mode_t newMode) {
    struct stat st {};
    const mode_t mode = ::stat(file.c_str(), &st) == 0 ? st.st_mode & 07777 : newMode;
    std::filesystem::path dir = std::filesystem::path(file).parent_path();
    if (dir.empty()) dir = ".";
    std::string temp =
        (dir / ("." + std::filesystem::path(file).filename().string() + ".XXXXXX")).string();
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.ok()) return false;
    bool ok = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    ok = ::close(fd.release()) == 0 && ok;
    if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the directory.
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.ok()) ::fsync(dirFd.get());
    return true;
}

}  // namespace tessel
