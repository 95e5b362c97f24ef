#include "lintra/host/HostLog.h"
#include "lintra/nx/DriverApi.h"
#include "lintra/ports/delivery/EventSlots.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/LineClose.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

// liblintra.so always holds the driver model; programs that link the port lines without it
// (their tests, the benches) have no drivers to destroy.
namespace lintra::nx {
__attribute__((weak)) int32_t DestroyAllDrivers();
}

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
    // The network-controller drivers go first, with their threads and lines.
    if (&nx::DestroyAllDrivers) nx::DestroyAllDrivers();
    // The lines' threads use everything below: they end first.
    FreeAllLines();
    EventSlots::Attach(nullptr);
    LineEvents::instance().freeAll();
    SharedObjects::Unload();
    host::setHostLogSink(nullptr);
}

}  // namespace lintra
