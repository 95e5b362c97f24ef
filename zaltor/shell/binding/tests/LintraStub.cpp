// A stand-in for liblintra.so with the ten functions the loader binds: each call is written down
// as its name and arguments, for the test to read with LintraStubLastCall. Variants of this
// library hide one of the ten (see CMakeLists.txt).
#include <cfenv>
#include <sstream>
#include <string>

#include "lintra/include/lintra.h"

namespace {

std::string lastCall;

template <typename... Args>
void record(const char *name, const Args &...args) {
    std::ostringstream text;
    text << name << "(";
    const char *separator = "";
    ((text << separator << args, separator = ","), ...);
    text << ")";
    lastCall = text.str();
}

// What the loader must undo: a library whose load changes the floating-point settings.
__attribute__((constructor)) void changeRounding() { std::fesetround(FE_UPWARD); }

}  // namespace

extern "C" {

LINTRA_API const char *LintraStubLastCall() { return lastCall.c_str(); }

LINTRA_API void CloseCom(int32_t line) { record("CloseCom", line); }

LINTRA_API int32_t LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params) {
    record("LCBCommand", line, cmd, count, int(params[0]));
    return 11;
}

LINTRA_API int32_t SendPultCommand(uint16_t line, int32_t reserved, uint16_t cmd, uint16_t count,
                                   const uint8_t *params) {
    record("SendPultCommand", line, reserved, cmd, count, int(params[count - 1]));
    return 12;
}

LINTRA_API int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t addr) {
    record("StartPanel", line, port, wnd, addr);
    return 13;
}

// Bound by the loader, never called.
LINTRA_API int32_t StartPanelNew(int32_t, const char *, uint16_t) { return 14; }

LINTRA_API int32_t SendCmdGetReply(uint16_t line, int32_t reserved, uint16_t cmd, uint16_t count,
                                   const uint8_t *params, LintraEventRecord *reply) {
    record("SendCmdGetReply", line, reserved, cmd, count, int(params[count - 1]));
    *reply = LintraEventRecord{};
    reply->code = 90;
    reply->data_length = 1;
    reply->data[0] = 42;
    return 15;
}

LINTRA_API int32_t DriverCreate(int32_t type, const char *params) {
    record("DriverCreate", type, params);
    return 16;
}

LINTRA_API int32_t DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    record("DriverDoCmd", handle, cmd, p1, p2);
    return 17;
}

LINTRA_API int32_t DriverLineCreate(int32_t driver, int32_t line_no, int32_t line_type, const char *params) {
    record("DriverLineCreate", driver, line_no, line_type, params == nullptr ? "null" : params);
    return 18;
}

LINTRA_API int32_t DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    record("DriverLineDoCmd", handle, cmd, p1, p2);
    return 19;
}

}  // extern "C"
