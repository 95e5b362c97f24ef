#pragma once
// TNXLink: the byte link under an NX driver, a TCP socket or a serial port; tests put a script
// behind it.
#include <cstddef>
#include <cstdint>

namespace lintra::nx {

class TNXLink {
public:
    virtual ~TNXLink() = default;
    // Bytes received (1..capacity), 0 when nothing came within waitMs, -1 on an error or a
    // link the peer closed.
    virtual int Receive(uint8_t *buffer, size_t capacity, uint32_t waitMs) = 0;
    // True when every byte went.
    virtual bool Send(const uint8_t *bytes, size_t length) = 0;
    virtual void Close() = 0;
    // The system's error code of the last failed operation.
    virtual int LastError() const = 0;
    // The descriptor to wait on for input, -1 when closed. Any thread may read it; a wait on
    // it is only a hint to read (the link may have been closed meanwhile).
    virtual int WaitHandle() const = 0;
};

}  // namespace lintra::nx
