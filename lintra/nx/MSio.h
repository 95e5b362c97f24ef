#pragma once
// TMSio: the serial link to a controller: 8 data bits, no parity, one stop bit, no flow
// control. COM names map to devices as for every port of the library.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "lintra/host/SerialPort.h"
#include "lintra/nx/NXLink.h"

namespace lintra::nx {

class TMSio final : public TNXLink {
public:
    static constexpr uint32_t kWriteConstantMs = 50;
    static constexpr uint32_t kWritePerByteMs = 20;

    // False with LastError() set (ENOENT for a name that names no port).
    bool Open(const std::string &name, int32_t baud);
    bool IsOpen() const { return port_ != nullptr; }

    int Receive(uint8_t *buffer, size_t capacity, uint32_t waitMs) override;
    bool Send(const uint8_t *bytes, size_t length) override;
    void Close() override;
    int LastError() const override { return lastError_; }
    int WaitHandle() const override { return waitHandle_.load(); }

private:
    std::unique_ptr<host::SerialPort> port_;
    std::atomic<int> waitHandle_{-1};
    int lastError_ = 0;
};

}  // namespace lintra::nx
