#pragma once
// The loader's only way into liblintra.so: one pass-through per bound function, with the
// library's names and argument orders. The binding (dlopen) implements it; engine tests put a
// scripted panel behind it. Line, command and count are 16-bit where the library takes them so:
// a caller's wider value is narrowed on the way in.
#include <cstdint>

#include "lintra/include/lintra.h"

namespace zaltor::shell {

class TLintraCalls {
public:
    virtual ~TLintraCalls() = default;
    // Does nothing when the library is not bound.
    virtual void CloseCom(int32_t line) = 0;
    virtual int32_t LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params) = 0;
    virtual int32_t SendCmdGetReply(uint16_t line, int32_t address, uint16_t cmd, uint16_t count, const uint8_t *params,
                                    LintraEventRecord *reply) = 0;
    virtual int32_t SendPultCommand(uint16_t line, int32_t address, uint16_t cmd, uint16_t count,
                                    const uint8_t *params) = 0;
    virtual int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t address) = 0;
    virtual int32_t DriverCreate(int32_t type, const char *params) = 0;
    virtual int32_t DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) = 0;
    virtual int32_t DriverLineCreate(int32_t driver, int32_t slot, int32_t lineType, const char *params) = 0;
    virtual int32_t DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) = 0;
};

}  // namespace zaltor::shell
