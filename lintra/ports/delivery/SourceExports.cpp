// The driver-table variants of the event exports. Each finds its source and line object first
// and answers 0 or false when either is missing.
#include <cstring>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/delivery/MessageSources.h"
#include "lintra/runtime/CommonProc.h"

using namespace lintra;

namespace {

std::shared_ptr<TSourceLine> sourceLine(int32_t driver, int32_t line, int32_t sub) {
    auto source = MessageSources::instance().Find(driver);
    return source ? source->Line(line, sub) : nullptr;
}

intptr_t handleOf(TIPCEvent &event) {
    event.SetEvent();
    return reinterpret_cast<intptr_t>(&event);
}

}  // namespace

extern "C" {

LINTRA_API intptr_t NewGetEvent(int32_t driver, int32_t line, int32_t sub) {
    return host::Guarded("NewGetEvent", intptr_t{0}, [&]() -> intptr_t {
        auto source = MessageSources::instance().Find(driver);
        if (!source) return 0;
        if (line == 0) return handleOf(source->event);
        auto object = source->Line(line, sub);
        return object ? handleOf(object->dataEvent) : 0;
    });
}

LINTRA_API bool NewResumeLine(int32_t driver, int32_t line, int32_t sub) {
    return host::Guarded("NewResumeLine", false, [&]() -> bool {
        auto object = sourceLine(driver, line, sub);
        return object && object->readyEvent.SetEvent();
    });
}

LINTRA_API bool NewQueryMessageOldFormat(int32_t driver, int32_t line, int32_t sub) {
    return host::Guarded("NewQueryMessageOldFormat", false, [&]() -> bool {
        auto object = sourceLine(driver, line, sub);
        if (!object) return false;
        std::lock_guard lock(object->slotLock);
        return object->slot.line == sub;
    });
}

LINTRA_API bool NewGetLineMessageOldFormat(int32_t driver, int32_t line, void *buffer, bool resume, int32_t sub) {
    return host::Guarded("NewGetLineMessageOldFormat", false, [&]() -> bool {
        auto object = sourceLine(driver, line, sub);
        if (!object || !buffer) return false;
        bool taken = false;
        {
            std::lock_guard lock(object->slotLock);
            if (object->slot.line == sub) {
                std::memcpy(buffer, &object->slot, sizeof object->slot);
                object->slot.line = 0;
                taken = true;
            }
        }
        if (resume) object->readyEvent.SetEvent();
        return taken;
    });
}

LINTRA_API void NewLineConn(int32_t driver, int32_t line, bool connected, int32_t sub) {
    host::Guarded("NewLineConn", [&] {
        if (auto object = sourceLine(driver, line, sub)) object->LineCommand(LineConnText(line, connected, sub, CycleCount()));
    });
}

}
