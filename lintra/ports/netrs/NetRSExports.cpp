// The start exports of panel lines behind a TCP serial gateway.
#include <memory>
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/lines/StartLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/netrs/NetRSControl.h"
#include "lintra/runtime/CommonProc.h"

LINTRA_API int32_t StartNetRS(int32_t line, const char *port, intptr_t wnd, uint16_t addr) {
    return lintra::host::Guarded("StartNetRS", lintra::kStartCannotOpen, [&] {
        const std::string portName = port ? port : "";
        lintra::LogMain("StartNetRS( " + std::to_string(line) + ", " + portName + ", " + std::to_string(wnd) + ", " +
                            std::to_string(addr) + " )",
                        6);
        if (!lintra::IsLineNumber(line) || !port || addr > 0xFF) return lintra::kStartCannotOpen;
        return lintra::StartLineObject(line, portName, wnd, [&] {
            return std::make_shared<lintra::TNetRSLCBControl>(line, static_cast<uint8_t>(addr));
        });
    });
}

LINTRA_API int32_t StartNetRSNew(int32_t line, const char *port, uint16_t addr) {
    return StartNetRS(line, port, 0, addr);
}
