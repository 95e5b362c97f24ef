#include "sim/serve/LineTransport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "sim/serve/TtySettings.h"

namespace sim {

namespace {
std::string systemError(const std::string &what) { return what + ": " + std::strerror(errno); }
}  // namespace

std::unique_ptr<LineTransport> LineTransport::open(const LineOptions &o, std::string &error) {
    std::unique_ptr<LineTransport> t(new LineTransport);
    t->fixed_ = settingsOfMode(o.mode);
    bool ok = o.transport == LineOptions::Transport::Pty      ? t->openPty(o, error)
              : o.transport == LineOptions::Transport::Device ? t->openDevice(o, error)
                                                          : t->openTcp(o, error);
    return ok ? std::move(t) : nullptr;
}

LineTransport::~LineTransport() {
    if (!link_.empty()) ::unlink(link_.c_str());
    for (int fd : {streamFd_, slaveFd_, listenFd_})
        if (fd >= 0) ::close(fd);
}

bool LineTransport::openPty(const LineOptions &o, std::string &error) {
    streamFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (streamFd_ < 0 || ::grantpt(streamFd_) != 0 || ::unlockpt(streamFd_) != 0) {
        error = systemError("cannot open a pseudo-terminal");
        return false;
    }
    char name[128];
    if (::ptsname_r(streamFd_, name, sizeof name) != 0) {
        error = systemError("ptsname");
        return false;
    }
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    // The client finds a transparent line even before it sets its own mode.
    if (slaveFd_ < 0 || !applyTtySettings(slaveFd_, fixed_)) {
        error = systemError(std::string("cannot set up ") + name);
        return false;
    }
    isPty_ = true;
    ready_ = std::string("pty ") + name;
    if (!o.link.empty()) {
        ::unlink(o.link.c_str());
        if (::symlink(name, o.link.c_str()) != 0) {
            error = systemError("cannot link " + o.link);
            return false;
        }
        link_ = o.link;
    }
    return true;
}

bool LineTransport::openDevice(const LineOptions &o, std::string &error) {
    streamFd_ = ::open(o.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (streamFd_ < 0) {
        error = systemError("cannot open " + o.device);
        return false;
    }
    if (!applyTtySettings(streamFd_, fixed_)) {
        error = systemError("cannot set the line settings of " + o.device);
        return false;
    }
    ready_ = "device " + o.device;
    return true;
}

bool LineTransport::openTcp(const LineOptions &o, std::string &error) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(o.tcpPort);
    socklen_t length = sizeof addr;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 8) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr *>(&addr), &length) != 0) {
        error = systemError("cannot listen on 127.0.0.1:" + std::to_string(o.tcpPort));
        return false;
    }
    ready_ = "tcp " + std::to_string(ntohs(addr.sin_port));
    return true;
}

int LineTransport::accept() const {
    int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    // Paced answers go out a byte at a time; Nagle would hold them for the peer's delayed ACK.
    int yes = 1;
    if (fd >= 0) ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return fd;
}

void LineTransport::releaseExclusive() const {
    if (slaveFd_ >= 0) ::ioctl(slaveFd_, TIOCNXCL);
}

LineSettings LineTransport::settings() const {
    if (isPty_)
        if (auto s = readTtySettings(streamFd_)) return *s;
    return fixed_;
}

}  // namespace sim
