#include "lintra/host/HostLog.h"
#include "lintra/ports/delivery/EventSlots.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

namespace {
void hostToMainLog(int level, std::string_view text) { LogMain(text, level); }
}  // namespace

void ComUnitLoad() {
    host::setHostLogSink(hostToMainLog);
    if (!SharedObjects::Load()) return;  // no event objects exist then
    EventSlots::Attach(SharedObjects::Ipc());
    LineEvents::instance().createBoth(0);
}

void ComUnitUnload() {
    EventSlots::Attach(nullptr);
    LineEvents::instance().freeAll();
    SharedObjects::Unload();
    host::setHostLogSink(nullptr);
}

}  // namespace lintra
