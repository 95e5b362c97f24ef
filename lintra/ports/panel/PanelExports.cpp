// The exports of panel lines on a serial port: StartPanel and its New variant, ResetPultBuffer.
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/host/MessageBox.h"
#include "lintra/ports/lines/LineClose.h"
#include "lintra/ports/lines/StartLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/panel/PultControl.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

int StartPanelLine(int32_t line, const char *port, intptr_t wnd, uint16_t addr) {
    const std::string portName = port ? port : "";
    LogMain("StartPanel( " + std::to_string(line) + ", " + portName + ", " + std::to_string(wnd) + ", " +
                std::to_string(addr) + " )",
            6);
    // A frame carries one address byte and the port has 256 address slots.
    if (!IsLineNumber(line) || addr > 0xFF || !port) return kStartCannotOpen;
    SettlePendingCloses();
    if (LineTable::Get(line)) {
        LogMain("Линия " + std::to_string(line) + " уже занята!", 6);
        return kStartLineInUse;
    }
    if (TPultControl::FindOnDevice(TPanelPort::DeviceOf(portName), addr)) {
        host::showMessageBox("На этом порте уже есть панель с таким адресом!", "Ошибка инициализации",
                             host::kMessageBoxIconStop);
        return kStartCannotOpen;
    }
    std::shared_ptr<TPultControl> panel;
    const int result = StartLineObject(line, portName, wnd, [&] {
        panel = std::make_shared<TPultControl>(line, static_cast<uint8_t>(addr));
        return panel;
    });
    if (result > 0 && LineSpeedMode(line) != 0) panel->ChangePultModeLocked();
    return result;
}

}  // namespace
}  // namespace lintra

using namespace lintra;

extern "C" {

LINTRA_API int32_t StartPanel(int32_t line, const char *port, intptr_t wnd, uint16_t addr) {
    return host::Guarded("StartPanel", kStartCannotOpen, [&] { return StartPanelLine(line, port, wnd, addr); });
}

LINTRA_API int32_t StartPanelNew(int32_t line, const char *port, uint16_t addr) {
    return host::Guarded("StartPanelNew", kStartCannotOpen, [&] {
        LogMain("StartPanelNew(" + std::to_string(line) + ", " + (port ? port : "") + ", " + std::to_string(addr) + ")",
                6);
        return StartPanelLine(line, port, 0, addr);
    });
}

LINTRA_API int32_t ResetPultBuffer(int32_t line) {
    return host::Guarded("ResetPultBuffer", 1, [&] {
        const auto panel = LineTable::GetAs<TPultControl>(line);
        if (!panel) return 1;
        panel->RequestReset();
        return 0;
    });
}

}  // extern "C"
