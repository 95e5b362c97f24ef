#pragma once
// The port of a line-controller line: the receive, transmit and supervision sides keep this one
// Port while ReInitCom closes the device and opens it again (a serial adapter that was pulled
// out comes back as a new device). Without a device reads and writes fail, DSR reads off and
// nothing reaches the wire. The line swaps the device only while the other sides are held.
#include <cerrno>
#include <memory>

#include "lintra/host/Port.h"

namespace lintra {

class TLcbPort final : public Port {
public:
    bool isOpen() const { return device_ != nullptr; }
    void attach(std::unique_ptr<Port> device) { device_ = std::move(device); }
    void close() { device_.reset(); }

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
    std::unique_ptr<Port> device_;
};

}  // namespace lintra
