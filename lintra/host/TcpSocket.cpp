#include "lintra/host/TcpSocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "lintra/host/HostLog.h"
#include "lintra/host/PollWait.h"

namespace lintra::host {

namespace {

Deadline deadlineOf(uint32_t timeoutMs) {
    return deadlineAfter(timeoutMs == TcpSocket::kNoTimeout ? std::nullopt : std::optional<uint64_t>(timeoutMs));
}

// A connected non-blocking socket, or -1 with errno set.
int connectOne(const addrinfo &address, uint32_t timeoutMs) {
    int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) return -1;
    int error = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            int events = pollUntil(fd, POLLOUT, deadlineOf(timeoutMs));
            socklen_t length = sizeof error;
            if (events == 0)
                error = ETIMEDOUT;
            else if (events < 0)
                error = errno;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // small frames must not wait
    // Blocking from here on, so that a receive waits inside recv() under SO_RCVTIMEO: one
    // system call per answer instead of a failed recv(), a poll() and a second recv(). Sends
    // stay non-blocking through MSG_DONTWAIT.
    if (int flags = fcntl(fd, F_GETFL); flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<TcpSocket> TcpSocket::connect(const std::string &host, const std::string &service,
                                              uint32_t timeoutMs, int *error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (int status = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); status != 0) {
        hostLog(kLogError, "TcpSocket: cannot resolve " + host + ":" + service + ": " + gai_strerror(status));
        if (error) *error = EADDRNOTAVAIL;
        return nullptr;
    }
    int lastError = EADDRNOTAVAIL;
    int fd = -1;
    for (const addrinfo *address = found; address && fd < 0; address = address->ai_next) {
        fd = connectOne(*address, timeoutMs);
        if (fd < 0) lastError = errno;
    }
    freeaddrinfo(found);
    if (error) *error = fd < 0 ? lastError : 0;
    return fd < 0 ? nullptr : std::unique_ptr<TcpSocket>(new TcpSocket(fd));
}

TcpSocket::~TcpSocket() { close(); }

void TcpSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool TcpSocket::fail(int error) {
    lastError_ = error;
    return false;
}

bool TcpSocket::sendAll(const uint8_t *data, size_t count, uint32_t timeoutMs) {
    if (fd_ < 0) return fail(EBADF);
    const Deadline deadline = deadlineOf(timeoutMs);
    size_t sent = 0;
    while (sent < count) {
        ssize_t n = ::send(fd_, data + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return fail(errno);
        int events = pollUntil(fd_, POLLOUT, deadline);
        if (events == 0) return fail(ETIMEDOUT);
        if (events < 0) return fail(errno);
    }
    return true;
}

bool TcpSocket::setReceiveWait(uint32_t ms) {
    if (ms == receiveWaitMs_) return true;
    timeval wait{};  // zero: no limit
    if (ms != kNoTimeout) {
        wait.tv_sec = static_cast<time_t>(ms / 1000);
        wait.tv_usec = static_cast<suseconds_t>(ms % 1000) * 1000;
    }
    if (setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0) return false;
    receiveWaitMs_ = ms;
    return true;
}

int TcpSocket::receive(uint8_t *buffer, size_t capacity, uint32_t timeoutMs) {
    if (fd_ < 0) return fail(EBADF), -1;
    if (capacity == 0) return 0;
    const Deadline deadline = deadlineOf(timeoutMs);
    uint32_t waitMs = timeoutMs;
    for (;;) {
        if (waitMs != 0 && !setReceiveWait(waitMs)) return fail(errno), -1;
        ssize_t n = ::recv(fd_, buffer, capacity, waitMs == 0 ? MSG_DONTWAIT : 0);
        if (n > 0) return static_cast<int>(n);
        if (n == 0) return fail(ENOTCONN), -1;
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return fail(errno), -1;
        if (!deadline) continue;
        // The socket's wait counts in scheduler ticks and a signal cuts it short; the deadline decides.
        auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return 0;
        waitMs = static_cast<uint32_t>(left.count());  // below timeoutMs, never kNoTimeout
    }
}

}  // namespace lintra::host
