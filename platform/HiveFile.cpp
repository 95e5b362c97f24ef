#include "platform/HiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessel {
namespace {

std::string envOr(const char *name, const std::string &fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

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

bool lock(int fd, int op) {
    while (::flock(fd, op) != 0)
        if (errno != EINTR) return false;
    return true;
}

// false on a read error; a missing file reads as empty.
bool readWhole(const std::string &path, std::string &text, mode_t *mode) {
    text.clear();
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.ok()) return errno == ENOENT;
    struct stat st {};
    if (mode && ::fstat(fd.get(), &st) == 0) *mode = st.st_mode & 07777;
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

bool writeAll(int fd, const std::string &text) {
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

bool replaceFile(const std::string &path, const std::string &text, mode_t mode) {
    std::filesystem::path target(path);
    std::string tmpl =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    Fd fd(::mkostemp(tmpl.data(), O_CLOEXEC));
    if (!fd.ok()) return false;
    bool ok = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    ok = ::close(fd.release()) == 0 && ok;
    if (ok) ok = ::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.c_str());
        return false;
    }
    Fd dir(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.ok()) ::fsync(dir.get());
    return true;
}

std::string lockFile(const std::string &hive) {
    return hive + ".lock";
}

}  // namespace

std::string hiveFile(Hive hive) {
    if (hive == Hive::LocalMachine) return envOr("TESSEL_MACHINE_HIVE", "/etc/tessel/registry");
    std::string config = envOr("XDG_CONFIG_HOME", envOr("HOME", ".") + "/.config");
    return envOr("TESSEL_USER_HIVE", config + "/tessel/registry");
}

RegDocument readHive(Hive hive) {
    const std::string path = hiveFile(hive);
    // A reader that may not create the lock file still reads safely: writers rename whole files.
    Fd lk(::open(lockFile(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (lk.ok()) lock(lk.get(), LOCK_SH);
    std::string text;
    if (!readWhole(path, text, nullptr)) text.clear();
    return RegDocument::parse(text);
}

std::optional<RegDocument> updateHive(Hive hive, const std::function<void(RegDocument &)> &change) {
    const std::string path = hiveFile(hive);
    const bool user = hive == Hive::CurrentUser;
    std::error_code ec;
    auto dir = std::filesystem::path(path).parent_path();
    if (!dir.empty() && !std::filesystem::exists(dir, ec)) {
        std::filesystem::create_directories(dir, ec);
        if (ec) return std::nullopt;
        if (user) ::chmod(dir.c_str(), 0700);
    }
    Fd lk(::open(lockFile(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, user ? 0600 : 0644));
    if (!lk.ok() || !lock(lk.get(), LOCK_EX)) return std::nullopt;
    std::string before;
    mode_t mode = user ? 0600 : 0644;
    if (!readWhole(path, before, &mode))
        return std::nullopt;  // never replace what we could not read
    RegDocument doc = RegDocument::parse(before);
    const std::string unchanged = doc.serialize();
    change(doc);
    std::string after = doc.serialize();
    if (after != unchanged && !replaceFile(path, after, mode)) return std::nullopt;
    return doc;
}

}  // namespace tessel
