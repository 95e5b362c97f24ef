#pragma once
// A serial device behind the engines' Port: exclusive open, termios2 line settings (any baud,
// mark and space parity), modem lines, and the serial time-out model emulated with poll().
// A pseudo-terminal has no modem lines and drops the parity bit; on one the port reports that
// once through the host log and goes on, so simulators can drive a line over a pty.
// One thread at a time uses a port (the engines hold their port lock around every exchange).
// setParity applies at once, so call flush() first when the bytes already written must keep
// the old parity.
#include <atomic>
#include <memory>
#include <string>

#include "lintra/host/Port.h"
#include "lintra/host/TtyLine.h"

namespace lintra::host {

class SerialPort final : public Port {
public:
    // Opens the device for exclusive use. nullptr with *error = errno on failure; EBUSY when
    // another descriptor, in this or another process, holds the device.
    static std::unique_ptr<SerialPort> open(const std::string &device, int *error);
    ~SerialPort() override;
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    bool setLine(const LineSettings &settings) override;
    bool setParity(Parity parity) override;
    void setTimeouts(const PortTimeouts &timeouts) override { timeouts_ = timeouts; }
    PortTimeouts timeouts() const override { return timeouts_; }
    int read(uint8_t *buffer, size_t count) override;
    int write(const uint8_t *data, size_t count) override;
    bool flush() override;
    bool purge() override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    std::optional<bool> dsr() override;
    int lastError() const override { return lastError_.load(std::memory_order_relaxed); }

    // Waits at most waitMs for input, then reads what has come (up to count): a caller that
    // cuts lines itself gets each piece as soon as it is there. 0 when nothing came.
    int readAvailable(uint8_t *buffer, size_t count, uint32_t waitMs);
    // For a wait on input beside other work (poll); the port stays its owner's.
    int descriptor() const { return fd_; }
    const std::string &device() const { return device_; }
    bool isPseudoTerminal() const { return pseudoTerminal_; }

private:
    SerialPort(int fd, std::string device, bool pseudoTerminal);
    bool apply(const TtyLineState &wanted);
    bool setModemLine(int line, bool on);
    bool modemLinesMissing(int error);
    bool fail(int error);

    const int fd_;
    const std::string device_;
    const bool pseudoTerminal_;
    PortTimeouts timeouts_;
    TtyLineState line_;
    std::atomic<int> lastError_{0};
    std::atomic<bool> modemLinesGone_{false};  // a pseudo-terminal refused them once
    std::atomic<bool> parityReported_{false};
};

}  // namespace lintra::host
