// The exports through which client processes collect the records of shared-memory lines.
#include <cstring>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/delivery/EventSlots.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/runtime/CommonProc.h"

using namespace lintra;

namespace {

constexpr uint32_t kQueryWaitMs = 5;
constexpr uint32_t kCollectWaitMs = 1000;

// Slot 0 is never collected: line 0 stands for any line.
bool collectable(int32_t line) { return line >= 1 && line <= 0xFF; }

}  // namespace

extern "C" {

LINTRA_API intptr_t GetEvent(int32_t line) {
    return host::Guarded("GetEvent", intptr_t{0}, [&]() -> intptr_t {
        if (line < 0 || line > 0xFF || !EventSlots::Attached()) return 0;
        auto &events = LineEvents::instance();
        if (!events.createBoth(line)) return 0;
        return events.data(line)->handle();
    });
}

LINTRA_API bool ResumeLine(int32_t line) {
    return host::Guarded("ResumeLine", false, [&]() -> bool {
        if (!collectable(line)) return false;
        for (int target : {line, 0})
            if (auto ready = LineEvents::instance().ready(target)) ready->set();
        return true;
    });
}

LINTRA_API bool QueryMessage(int32_t line) {
    return host::Guarded("QueryMessage", false, [&]() -> bool {
        if (!collectable(line)) return false;
        auto guard = EventSlots::Guard::Lock(kQueryWaitMs);
        return guard && guard->Occupied(line);
    });
}

LINTRA_API bool GetLineMessage(int32_t line, void *buffer, bool resume) {
    return host::Guarded("GetLineMessage", false, [&]() -> bool {
        if (!collectable(line) || !buffer) return false;
        auto guard = EventSlots::Guard::Lock(kCollectWaitMs);
        if (!guard) {
            LogLine(line, "GetLineMessage не получила GlobalDataMutex", 3);
            return false;
        }
        if (!guard->Occupied(line)) return false;
        const EventRecord record = guard->Read(line);
        std::memcpy(buffer, &record, sizeof record);
        guard->Free(line);
        // Only a collected record allows the next. A resume from a look at a free slot (the data
        // event is created signalled, so every client makes one at start) could reach a delivery
        // that has already passed its ready wait: it would write two records before the
        // collector came back, and the first would be lost.
        if (resume) ResumeLine(line);
        return true;
    });
}

}
