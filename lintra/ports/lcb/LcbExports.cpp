// The start exports of line-controller lines on a serial port, and SMCReset.
#include <memory>
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/lcb/LcbControl.h"
#include "lintra/ports/lines/StartLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

using namespace lintra;

extern "C" {

LINTRA_API int32_t StartCom(int32_t line, const char *port, intptr_t wnd) {
    return host::Guarded("StartCom", kStartCannotOpen, [&] {
        const std::string portName = port ? port : "";
        LogMain("StartCom(" + std::to_string(line) + ", " + portName + ", " + std::to_string(wnd) + ")", 6);
        if (!port) return kStartCannotOpen;
        return StartLineObject(line, portName, wnd, [line] { return std::make_shared<TLCBControl>(line); });
    });
}

LINTRA_API int32_t StartComNew(int32_t line, const char *port) {
    return host::Guarded("StartComNew", kStartCannotOpen, [&] {
        LogMain("StartComNew(" + std::to_string(line) + ", " + (port ? port : "") + ")", 6);
        return StartCom(line, port, 0);
    });
}

LINTRA_API void SMCReset(int32_t line) {
    host::Guarded("SMCReset", [&] {
        if (const auto object = LineTable::GetAs<TLCBControl>(line)) object->ReInitCom();
    });
}

}  // extern "C"
