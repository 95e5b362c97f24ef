#pragma once
// TControllerPort: the serial port of a line-controller line, opened and reopened as every such
// line does it (10400 baud, 8 data bits, no parity, 2 stop bits, the line's time-outs). The
// line's engines keep this one Port while Reopen closes the device and opens it again by its
// name, so a serial adapter that was pulled out and put back comes back as a new device.
// Without a device reads and writes fail, DSR reads off and nothing reaches the wire. The line
// reopens only while its engines are held.
#include <cerrno>
#include <functional>
#include <memory>
#include <string>

#include "lintra/host/Port.h"
#include "platform/Clock.h"

namespace lintra {

class TControllerPort final : public Port {
public:
    static constexpr LineSettings kLineSettings{10400, 8, Parity::None, 2};
    // Read interval 200 ms, read total 20 ms per byte + 300 ms, write total 20 ms per byte +
    // 50 ms. A read returns as soon as the bytes asked for came.
    static constexpr PortTimeouts kTimeouts{200, 20, 300, 20, 50};
    static constexpr uint32_t kCloseWaitMs = 10;   // before the device closes
    static constexpr uint32_t kClosedWaitMs = 50;  // after it closed

    // Opens the device; nullptr with *error when it cannot be opened.
    using Opener = std::function<std::unique_ptr<Port>(int *error)>;

    TControllerPort(int line, tessel::Clock &clock) : line_(line), clock_(clock) {}

    // What Reopen opens, and the port name its log lines give.
    void setOpener(Opener opener, std::string name) {
        opener_ = std::move(opener);
        name_ = std::move(name);
    }
    // Opens the serial device the client's port name stands for (and reopens it so later);
    // false, after the message box, when it cannot be opened.
    bool InitCom(const std::string &port);
    // Closes the device if one is open, opens it again with the line's settings. False (with
    // the line log saying so) when it cannot be opened.
    bool Reopen();
    bool isOpen() const { return device_ != nullptr; }

    bool setLine(const LineSettings &settings) override { return device_ && device_->setLine(settings); }
    bool setParity(Parity parity) override { return device_ && device_->setParity(parity); }
    void setTimeouts(const PortTimeouts &timeouts) override {
        if (device_) device_->setTimeouts(timeouts);
    }
    PortTimeouts timeouts() const override { return device_ ? device_->timeouts() : PortTimeouts{}; }
    int read(uint8_t *buffer, size_t count) override { return device_ ? device_->read(buffer, count) : -1; }
    int write(const uint8_t *data, size_t count) override { return device_ ? device_->write(data, count) : -1; }
    bool flush() override { return device_ && device_->flush(); }
    bool purge() override { return device_ && device_->purge(); }
    bool setRts(bool on) override { return device_ && device_->setRts(on); }
    bool setDtr(bool on) override { return device_ && device_->setDtr(on); }
    std::optional<bool> dsr() override { return device_ ? device_->dsr() : std::optional<bool>(false); }
    int lastError() const override { return device_ ? device_->lastError() : ENODEV; }

private:
    const int line_;
    tessel::Clock &clock_;
    Opener opener_;
    std::string name_;
    std::unique_ptr<Port> device_;
};

}  // namespace lintra
