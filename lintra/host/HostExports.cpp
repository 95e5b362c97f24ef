// The exports that stand in for window handles, kernel waits and message boxes.
#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/host/MessageBox.h"
#include "lintra/host/NamedEvent.h"
#include "lintra/host/WindowRegistry.h"

using namespace lintra::host;

extern "C" {

LINTRA_API intptr_t LintraRegisterWindow(LintraWindowProc proc, void *context) {
    return Guarded("LintraRegisterWindow", intptr_t{0}, [&] { return WindowRegistry::instance().add(proc, context); });
}

LINTRA_API void LintraUnregisterWindow(intptr_t wnd) {
    Guarded("LintraUnregisterWindow", [&] { WindowRegistry::instance().remove(wnd); });
}

LINTRA_API bool LintraWaitEvent(intptr_t event, uint32_t timeout_ms) {
    return Guarded("LintraWaitEvent", false, [&] {
        auto live = NamedEvent::fromHandle(event);
        return live && live->wait(timeout_ms);
    });
}

LINTRA_API void LintraSetMessageBoxHandler(LintraMessageBoxHandler handler) {
    Guarded("LintraSetMessageBoxHandler", [&] { setMessageBoxHandler(handler); });
}

}
