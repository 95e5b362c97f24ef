// The start exports of intelligent line-controller lines: StartIntCom on a serial port,
// StartNetCom behind a TCP gateway, and their variants without a window.
#include <functional>
#include <memory>
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/intlcb/IntLcbControl.h"
#include "lintra/ports/intlcb/NetLcbControl.h"
#include "lintra/ports/lines/StartLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

using LineFactory = std::function<std::shared_ptr<TIntLcbLine>(int line)>;

// name is the export as the logs write it.
int StartIntLcbLine(const char *name, int32_t line, const char *port, intptr_t wnd, const LineFactory &make) {
    return host::Guarded(name, kStartCannotOpen, [&] {
        const std::string portName = port ? port : "";
        LogMain(std::string(name) + "( " + std::to_string(line) + ", " + portName + ", " + std::to_string(wnd) + " )",
                6);
        if (!port) return kStartCannotOpen;
        return StartLineObject(line, portName, wnd, [&] { return make(line); }, name);
    });
}

std::shared_ptr<TIntLcbLine> serialLine(int line) { return std::make_shared<TIntLCBControl>(line); }
std::shared_ptr<TIntLcbLine> netLine(int line) { return std::make_shared<TNetLCBControl>(line); }

}  // namespace
}  // namespace lintra

using namespace lintra;

extern "C" {

LINTRA_API int32_t StartIntCom(int32_t line, const char *port, intptr_t wnd) {
    return StartIntLcbLine("StartIntCom", line, port, wnd, serialLine);
}

LINTRA_API int32_t StartIntComNew(int32_t line, const char *port) {
    return StartIntLcbLine("StartIntCom", line, port, 0, serialLine);
}

LINTRA_API int32_t StartNetCom(int32_t line, const char *port, intptr_t wnd) {
    return StartIntLcbLine("StartNetCom", line, port, wnd, netLine);
}

LINTRA_API int32_t StartNetComNew(int32_t line, const char *port) {
    return StartIntLcbLine("StartNetCom", line, port, 0, netLine);
}

}  // extern "C"
