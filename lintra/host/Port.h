#pragma once
// The narrow port interface the protocol engines talk to. SerialPort implements it over a tty;
// tests implement it with a fake that records every byte with its parity mark and every modem
// line change, and answers from a script. Reads and writes follow the serial time-out model the
// engines are written for: a read returns when `count` bytes have come, when the gap between
// two bytes exceeds the interval time-out, or when the total time-out (per-byte * count +
// constant) has passed since the call, whichever is first.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace lintra {

enum class Parity : uint8_t { None, Odd, Even, Mark, Space };

struct LineSettings {
    uint32_t baud = 9600;
    uint8_t dataBits = 8;
    Parity parity = Parity::None;
    uint8_t stopBits = 1;  // 1 or 2
};

struct PortTimeouts {
    uint32_t readIntervalMs = 0;  // 0: no interval limit
    uint32_t readTotalPerByteMs = 0;
    uint32_t readTotalConstantMs = 0;
    uint32_t writeTotalPerByteMs = 0;
    uint32_t writeTotalConstantMs = 0;
};

class Port {
public:
    virtual ~Port() = default;
    // Applies the whole line setting; false when the device refused it (lastError() tells why).
    virtual bool setLine(const LineSettings &settings) = 0;
    // Switches the parity alone (mark for the first byte of a frame, space for the rest).
    virtual bool setParity(Parity parity) = 0;
    virtual void setTimeouts(const PortTimeouts &timeouts) = 0;
    virtual PortTimeouts timeouts() const = 0;
    // Bytes read (0..count), or -1 on a device error.
    virtual int read(uint8_t *buffer, size_t count) = 0;
    // Bytes written, or -1 on a device error.
    virtual int write(const uint8_t *data, size_t count) = 0;
    // Waits until every written byte has left (tcdrain).
    virtual bool flush() = 0;
    // Discards unread input and unsent output and clears the error state.
    virtual bool purge() = 0;
    virtual bool setRts(bool on) = 0;
    virtual bool setDtr(bool on) = 0;
    // nullopt when the device has no modem lines (a pseudo-terminal).
    virtual std::optional<bool> dsr() = 0;
    // errno of the last failed call, 0 when none failed.
    virtual int lastError() const = 0;
};

}  // namespace lintra
