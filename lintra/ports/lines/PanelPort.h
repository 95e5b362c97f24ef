#pragma once
// TPanelPort: one serial port carrying panel lines. The first line on the port opens it; the
// other lines on the same port name share this object, so they share the device, its port
// lock, its speed mode and its polling thread. The port closes with the last line that holds it.
//
// Step() is one turn of the polling thread: pick the next line in cyclic order of the 256
// address slots, run its ServePult under the port lock, then hand the step's records to the
// line with the port lock released (a delivery may wait for a collector in another process and
// must not hold up direct exchanges meanwhile). The line is held busy from the pick to the last
// delivery, so leave() returns only once no step of it is running; the slot table is free
// meanwhile, so other lines can enter and leave the port.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "lintra/host/Port.h"
#include "lintra/ports/lines/PortLock.h"

namespace lintra {

class TPultPolling;
class TLoopThread;

class TPanelPort {
public:
    static constexpr uint32_t kLockWaitMs = 1000;
    // The polling thread's pauses: before the first step, and after a step that found no line
    // or no port lock.
    static constexpr uint32_t kStartPauseMs = 1000;
    static constexpr uint32_t kNoLinePauseMs = 100;

    // The device a client's port name stands for, so that "com3", "COM3" and the path it maps
    // to all name one port; a name that stands for no device is kept as it is.
    static std::string DeviceOf(const std::string &name);
    // Opens the serial device a client's port name stands for; nullptr with *error on failure.
    static std::unique_ptr<Port> OpenDevice(const std::string &name, int *error);

    TPanelPort(std::unique_ptr<Port> port, std::string name);
    // Stops the polling thread (if any) before the port goes.
    ~TPanelPort();
    TPanelPort(const TPanelPort &) = delete;
    TPanelPort &operator=(const TPanelPort &) = delete;

    Port &port() { return *port_; }
    const std::string &name() const { return name_; }
    TPortLock &lock() { return lock_; }

    // The port's current speed mode (0..2), kept here so every line on the port follows it.
    uint8_t mode() const { return mode_; }
    void setMode(uint8_t mode) { mode_ = mode; }

    // False when the address slot is taken by another line.
    bool enter(TPultPolling *line, uint8_t address);
    // Waits until no step is serving the line, then frees its slot. The lines left on the port.
    int leave(TPultPolling *line);
    int lineCount() const;

    enum class StepResult { Served, Idle, NoLine, LockTimeout };
    StepResult Step();

    // Starts the port's polling thread, TPultsDriver (once); it runs Step() until the port goes.
    void startDriver();

private:
    std::unique_ptr<Port> port_;
    const std::string name_;
    TPortLock lock_;
    std::atomic<uint8_t> mode_{0};
    mutable std::mutex slotsMutex_;
    std::array<TPultPolling *, 256> slots_{};
    size_t lastServed_ = 0;
    std::unique_ptr<TLoopThread> driver_;
};

}  // namespace lintra
