#pragma once
// TCommBuff: a byte buffer over storage its subclass provides (the NX packet buffer keeps its
// packet area inside the object). The receive buffer of every driver is one.
#include <cstdint>
#include <cstring>

namespace lintra::nx {

class TCommBuff {
public:
    TCommBuff(uint8_t *storage, int32_t size) : data(storage), capacity(size) {}
    virtual ~TCommBuff() = default;
    TCommBuff(const TCommBuff &) = delete;
    TCommBuff &operator=(const TCommBuff &) = delete;

    // Zeroes the whole capacity, not only the bytes in use, so no stale packet byte survives.
    void Clear() {
        std::memset(data, 0, static_cast<size_t>(capacity));
        length = 0;
    }

    uint8_t *data;
    int32_t length = 0;  // bytes in use
    int32_t capacity;
};

}  // namespace lintra::nx
