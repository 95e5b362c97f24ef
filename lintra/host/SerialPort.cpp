#include "lintra/host/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

#include "lintra/host/HostLog.h"
#include "lintra/host/PollWait.h"

namespace lintra::host {

namespace {

// Unix98 pty slaves (/dev/pts/N) and the legacy BSD slaves.
bool isPseudoTerminalDevice(dev_t device) {
    unsigned int majorNumber = major(device);
    return (majorNumber >= 136 && majorNumber <= 143) || majorNumber == 3;
}

void withParity(TtyLineState &state, Parity parity) {
    state.parityEnabled = parity != Parity::None;
    state.parityOdd = parity == Parity::Odd || parity == Parity::Mark;
    state.stickParity = parity == Parity::Mark || parity == Parity::Space;
}

std::string parityName(const TtyLineState &state) {
    if (!state.parityEnabled) return "none";
    if (state.stickParity) return state.parityOdd ? "mark" : "space";
    return state.parityOdd ? "odd" : "even";
}

std::optional<uint64_t> totalTimeout(uint32_t perByteMs, uint32_t constantMs, size_t count) {
    if (perByteMs == 0 && constantMs == 0) return std::nullopt;
    return uint64_t{perByteMs} * count + constantMs;
}

constexpr short kHangUp = POLLERR | POLLHUP | POLLNVAL;

// Why a read that got no byte after poll reported `events` failed; 0 when it is worth another
// try (a signal, or a wake-up without data on a line that is still up).
int readFailure(ssize_t n, int events) {
    const int error = n == 0 ? EIO : errno;
    if (error == EINTR || (error == EAGAIN && !(events & kHangUp))) return 0;
    return error == EAGAIN ? EIO : error;
}

}  // namespace

std::unique_ptr<SerialPort> SerialPort::open(const std::string &device, int *error) {
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    auto refuse = [&](int code) -> std::unique_ptr<SerialPort> {
        if (fd >= 0) ::close(fd);
        if (error) *error = code;
        return nullptr;
    };
    if (fd < 0) return refuse(errno);
    struct stat info{};
    if (fstat(fd, &info) != 0) return refuse(errno);
    if (!S_ISCHR(info.st_mode)) return refuse(ENOTTY);
    // TIOCEXCL does not stop root, so exclusivity rests on the flock.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return refuse(errno == EWOULDBLOCK ? EBUSY : errno);
    if (ioctl(fd, TIOCEXCL) != 0 || !makeTtyRaw(fd)) return refuse(errno);
    auto port = std::unique_ptr<SerialPort>(new SerialPort(fd, device, isPseudoTerminalDevice(info.st_rdev)));
    if (auto current = readTtyLine(fd)) port->line_ = *current;
    if (error) *error = 0;
    return port;
}

SerialPort::SerialPort(int fd, std::string device, bool pseudoTerminal)
    : fd_(fd), device_(std::move(device)), pseudoTerminal_(pseudoTerminal) {}

SerialPort::~SerialPort() { ::close(fd_); }

bool SerialPort::fail(int error) {
    lastError_.store(error, std::memory_order_relaxed);
    return false;
}

bool SerialPort::setLine(const LineSettings &settings) {
    if (settings.baud == 0 || settings.dataBits < 5 || settings.dataBits > 8 ||
        (settings.stopBits != 1 && settings.stopBits != 2))
        return fail(EINVAL);
    TtyLineState wanted;
    wanted.baud = settings.baud;
    wanted.dataBits = settings.dataBits;
    wanted.stopBits = settings.stopBits;
    withParity(wanted, settings.parity);
    return apply(wanted);
}

bool SerialPort::setParity(Parity parity) {
    TtyLineState wanted = line_;
    withParity(wanted, parity);
    return apply(wanted);
}

// tcsetattr-style calls succeed when any part took, so the result is read back and compared.
bool SerialPort::apply(const TtyLineState &wanted) {
    if (!writeTtyLine(fd_, wanted)) return fail(errno);
    auto actual = readTtyLine(fd_);
    if (!actual) return fail(errno);
    line_ = wanted;

    std::string refused;
    if (actual->baud != wanted.baud)
        refused += " baud " + std::to_string(wanted.baud) + " (kept " + std::to_string(actual->baud) + ")";
    if (actual->dataBits != wanted.dataBits)
        refused += " data bits " + std::to_string(wanted.dataBits) + " (kept " + std::to_string(actual->dataBits) + ")";
    if (actual->stopBits != wanted.stopBits)
        refused += " stop bits " + std::to_string(wanted.stopBits) + " (kept " + std::to_string(actual->stopBits) + ")";
    if (actual->parityEnabled != wanted.parityEnabled || actual->parityOdd != wanted.parityOdd ||
        actual->stickParity != wanted.stickParity) {
        // A pty keeps the mark/space choice but clears the enable bit: the peer still sees it.
        bool ptyDroppedParity = pseudoTerminal_ && !actual->parityEnabled &&
                                actual->parityOdd == wanted.parityOdd && actual->stickParity == wanted.stickParity;
        if (!ptyDroppedParity)
            refused += " parity " + parityName(wanted) + " (kept " + parityName(*actual) + ")";
        else if (!parityReported_.exchange(true))
            hostLog(kLogWarning, "SerialPort " + device_ + ": a pseudo-terminal sends no parity bit; parity " +
                                     parityName(wanted) + " is passed on as a setting only");
    }
    if (refused.empty()) return true;
    hostLog(kLogError, "SerialPort " + device_ + ": the device refused" + refused);
    return fail(EINVAL);
}

int SerialPort::read(uint8_t *buffer, size_t count) {
    if (count == 0) return 0;
    const PortTimeouts limits = timeouts_;
    const Deadline total = deadlineAfter(totalTimeout(limits.readTotalPerByteMs, limits.readTotalConstantMs, count));
    size_t got = 0;
    while (got < count) {
        Deadline until = total;
        if (limits.readIntervalMs != 0 && got > 0) {
            Deadline gap = deadlineAfter(limits.readIntervalMs);
            if (!until || *gap < *until) until = gap;
        }
        int events = pollUntil(fd_, POLLIN, until);
        if (events == 0) break;
        if (events < 0) return fail(errno), -1;
        ssize_t n = ::read(fd_, buffer + got, count - got);
        if (n > 0) {
            got += static_cast<size_t>(n);
            continue;
        }
        const int error = readFailure(n, events);
        if (error == 0) continue;
        fail(error);
        // What came before the failure is handed over; the next call reports the failure.
        return got > 0 ? static_cast<int>(got) : -1;
    }
    return static_cast<int>(got);
}

int SerialPort::readAvailable(uint8_t *buffer, size_t count, uint32_t waitMs) {
    if (count == 0) return 0;
    const Deadline until = deadlineAfter(uint64_t{waitMs});
    for (;;) {
        const int events = pollUntil(fd_, POLLIN, until);
        if (events == 0) return 0;
        if (events < 0) return fail(errno), -1;
        const ssize_t n = ::read(fd_, buffer, count);
        if (n > 0) return static_cast<int>(n);
        const int error = readFailure(n, events);
        if (error == 0) continue;
        return fail(error), -1;
    }
}

int SerialPort::write(const uint8_t *data, size_t count) {
    const PortTimeouts limits = timeouts_;
    const Deadline total = deadlineAfter(totalTimeout(limits.writeTotalPerByteMs, limits.writeTotalConstantMs, count));
    size_t sent = 0;
    while (sent < count) {
        ssize_t n = ::write(fd_, data + sent, count - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return fail(errno), -1;
        int events = pollUntil(fd_, POLLOUT, total);
        if (events == 0) break;
        if (events < 0) return fail(errno), -1;
        if ((events & kHangUp) && !(events & POLLOUT)) return fail(EIO), -1;
    }
    return static_cast<int>(sent);
}

bool SerialPort::flush() { return drainTty(fd_) || fail(errno); }

bool SerialPort::purge() { return purgeTty(fd_) || fail(errno); }

bool SerialPort::modemLinesMissing(int error) {
    if (!pseudoTerminal_ || (error != ENOTTY && error != EINVAL)) return false;
    if (!modemLinesGone_.exchange(true))
        hostLog(kLogWarning, "SerialPort " + device_ + ": a pseudo-terminal has no modem lines; RTS and DTR changes "
                             "are ignored and DSR is unknown");
    return true;
}

bool SerialPort::setModemLine(int line, bool on) {
    // Once a pseudo-terminal has refused, every frame would pay two failing ioctls for nothing.
    if (modemLinesGone_) return true;
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
    int error = errno;
    return modemLinesMissing(error) || fail(error);
}

bool SerialPort::setRts(bool on) { return setModemLine(TIOCM_RTS, on); }

bool SerialPort::setDtr(bool on) { return setModemLine(TIOCM_DTR, on); }

std::optional<bool> SerialPort::dsr() {
    if (modemLinesGone_) return std::nullopt;
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) == 0) return (lines & TIOCM_DSR) != 0;
    int error = errno;
    if (!modemLinesMissing(error)) fail(error);
    return std::nullopt;
}

}  // namespace lintra::host
