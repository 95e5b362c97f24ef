#include "sim/serve/SimServer.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>

namespace sim {

namespace {
volatile std::sig_atomic_t gStopSignal = 0;
void onStopSignal(int) { gStopSignal = 1; }
}  // namespace

uint64_t SimServer::nowUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

SimServer::SimServer(LineTransport &transport, ControlSocket &control, WireLog &log, bool pace, unsigned pad)
    : transport_(transport), control_(control), log_(log), pace_(pace), pad_(pad) {}

void SimServer::addStream(int fd, bool owned, LineResponder &responder) {
    streams_.push_back({fd, owned, nullptr, {}});
    openReader(streams_.back(), responder);
}

void SimServer::openReader(Stream &s, LineResponder &responder) {
    s.reader = responder.openStream(log_);
    if (auto tx = s.reader->greeting()) schedule(s, *tx, 0);
}

int SimServer::speedMode() {
    LineSettings s = transport_.settings();
    if (s != lastSettings_) {
        log_.note("line " + describe(s));
        lastSettings_ = s;
    }
    return speedModeOf(s);
}

void SimServer::schedule(Stream &s, const Transmission &tx, size_t requestBytes) {
    uint64_t now = nowUs();
    uint32_t byteUs = pace_ ? byteTimeUs(transport_.settings()) : 0;
    // On a real wire the request itself takes its wire time before the panel can answer.
    uint64_t start = std::max<uint64_t>(now + tx.delayMs * 1000ull + requestBytes * byteUs, s.freeAtUs);
    Bytes bytes = tx.bytes;
    if (bytes.size() < pad_) bytes.resize(pad_, 0);
    if (byteUs == 0) {
        s.out.push_back({start, bytes, bytes, tx.faults});
        s.freeAtUs = start;
        return;
    }
    for (size_t i = 0; i < bytes.size(); ++i)
        s.out.push_back({start + i * byteUs, Bytes{bytes[i]}, i == 0 ? bytes : Bytes{}, tx.faults});
    s.freeAtUs = start + bytes.size() * byteUs;
}

void SimServer::hangUp() {
    std::erase_if(streams_, [this](const Stream &s) {
        if (!s.owned) return false;
        ::close(s.fd);
        log_.note("client hung up");
        return true;
    });
}

void SimServer::drop(LineResponder &responder) {
    hangUp();
    for (Stream &s : streams_) {
        ::tcflush(s.fd, TCIFLUSH);
        s.out.clear();
        s.freeAtUs = 0;
        log_.note("line dropped");
        openReader(s, responder);
    }
}

bool SimServer::readStream(Stream &s) {
    uint8_t buffer[256];
    ssize_t n = ::read(s.fd, buffer, sizeof buffer);
    if (n < 0) return errno == EAGAIN || errno == EINTR || !s.owned;
    if (n == 0) return !s.owned;
    auto result = s.reader->receive(std::span<const uint8_t>(buffer, static_cast<size_t>(n)), nowMs(), speedMode());
    for (const Reply &r : result.replies) schedule(s, r.tx, r.requestBytes);
    return !(result.close && s.owned);
}

void SimServer::writeDue(Stream &s) {
    uint64_t now = nowUs();
    while (!s.out.empty() && s.out.front().dueUs <= now) {
        Chunk &c = s.out.front();
        if (!c.logged.empty()) {
            log_.bytes("tx", c.logged, c.detail);
            c.logged.clear();
        }
        ssize_t n = ::write(s.fd, c.bytes.data(), c.bytes.size());
        if (n < 0) {
            if (errno != EAGAIN && errno != EINTR) s.out.clear();
            return;
        }
        c.bytes.erase(c.bytes.begin(), c.bytes.begin() + n);
        if (!c.bytes.empty()) return;
        s.out.pop_front();
    }
}

bool SimServer::hasDue(const Stream &s, uint64_t now) { return !s.out.empty() && s.out.front().dueUs <= now; }

int SimServer::pollTimeoutMs(uint64_t now, const LineResponder &responder) const {
    // Chunks already due wait for POLLOUT instead, so a full line does not spin the loop.
    uint64_t next = now + kIdleTickMs * 1000;
    if (auto unasked = responder.nextUnaskedMs()) next = std::clamp(*unasked * 1000, now, next);
    for (const Stream &s : streams_)
        if (!s.out.empty() && !hasDue(s, now)) next = std::min(next, s.out.front().dueUs);
    return static_cast<int>((next - now + 999) / 1000);
}

void SimServer::run(LineResponder &responder) {
    if (transport_.streamFd() >= 0) addStream(transport_.streamFd(), false, responder);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigset_t waitMask;
    sigprocmask(SIG_SETMASK, nullptr, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);

    std::vector<pollfd> fds;
    while (!quit_ && !gStopSignal) {
        fds.clear();
        uint64_t now = nowUs();
        for (const Stream &s : streams_)
            fds.push_back({s.fd, static_cast<short>(POLLIN | (hasDue(s, now) ? POLLOUT : 0)), 0});
        if (transport_.listenFd() >= 0) fds.push_back({transport_.listenFd(), POLLIN, 0});
        control_.addPollFds(fds);
        int timeout = pollTimeoutMs(now, responder);
        timespec ts{timeout / 1000, (timeout % 1000) * 1000000L};
        if (::ppoll(fds.data(), fds.size(), &ts, &waitMask) < 0 && errno != EINTR) {
            log_.note("poll failed, stopping");
            break;
        }
        size_t i = 0;
        std::erase_if(streams_, [&](Stream &s) {
            bool readable = (fds[i++].revents & ~POLLOUT) != 0;
            if (!readable || readStream(s)) return false;
            log_.note("client gone");
            ::close(s.fd);
            return true;
        });
        for (const Transmission &tx : responder.unasked(nowMs()))
            for (Stream &s : streams_) schedule(s, tx, 0);
        for (Stream &s : streams_) writeDue(s);
        transport_.releaseExclusive();
        for (const pollfd &p : fds)
            if (p.fd == transport_.listenFd() && (p.revents & POLLIN)) {
                int fd = transport_.accept();
                if (fd >= 0) {
                    addStream(fd, true, responder);
                    log_.note("client connected");
                }
            }
        control_.serve(fds, [this, &responder](const std::string &command) {
            log_.note("control: " + command);
            return responder.control(command, nowMs());
        });
    }
    for (Stream &s : streams_)
        if (s.owned) ::close(s.fd);
}

}  // namespace sim
