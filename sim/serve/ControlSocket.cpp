#include "sim/serve/ControlSocket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sim {

namespace {
bool sendAll(int fd, const std::string &text) {
    size_t sent = 0;
    while (sent < text.size()) {
        ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

ControlSocket::~ControlSocket() {
    for (const Client &c : clients_) ::close(c.fd);
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(path_.c_str());
    }
}

bool ControlSocket::listen(const std::string &path, std::string &error) {
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) {
        error = "control socket path too long: " + path;
        return false;
    }
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    ::unlink(path.c_str());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    return true;
}

void ControlSocket::addPollFds(std::vector<pollfd> &fds) const {
    if (listenFd_ < 0) return;
    fds.push_back({listenFd_, POLLIN, 0});
    for (const Client &c : clients_) fds.push_back({c.fd, POLLIN, 0});
}

void ControlSocket::serve(const std::vector<pollfd> &fds,
                          const std::function<std::string(const std::string &)> &execute) {
    auto revents = [&fds](int fd) {
        for (const pollfd &p : fds)
            if (p.fd == fd) return p.revents;
        return short{0};
    };
    std::erase_if(clients_, [&](Client &c) {
        if (!revents(c.fd)) return false;
        if (readClient(c, execute)) return false;
        ::close(c.fd);
        return true;
    });
    if (listenFd_ >= 0 && (revents(listenFd_) & POLLIN)) {
        // Blocking: reads happen only when poll found data, and a long dump is sent whole.
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) clients_.push_back({fd, {}});
    }
}

bool ControlSocket::readClient(Client &c, const std::function<std::string(const std::string &)> &execute) {
    char buffer[1024];
    ssize_t n = ::read(c.fd, buffer, sizeof buffer);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
    if (n < 0) return true;
    c.pending.append(buffer, static_cast<size_t>(n));
    size_t newline;
    while ((newline = c.pending.find('\n')) != std::string::npos) {
        std::string answer = execute(c.pending.substr(0, newline));
        c.pending.erase(0, newline + 1);
        if (!sendAll(c.fd, answer)) return false;
    }
    if (c.pending.size() > kMaxLine) {
        sendAll(c.fd, "error line too long\n");
        return false;
    }
    return true;
}

}  // namespace sim
