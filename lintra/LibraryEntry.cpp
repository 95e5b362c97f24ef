// Load and unload of liblintra.so. The constructor runs once per process before any export
// can be called; the destructor runs at dlclose or process exit.
//
// This constructor may run before the dynamic initialisers of the linked archives, so what it
// reaches must be constant-initialised (the runtime's globals are constinit).
#include "lintra/nx/DriverApi.h"
#include "lintra/nx/NXDriverKinds.h"
#include "lintra/nx/NXStartup.h"
#include "lintra/ports/lines/LineClose.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/BaseThread.h"
#include "lintra/runtime/CommonProc.h"

namespace {

__attribute__((constructor)) void LintraLoad() {
    // Settings and the log set come first: every later load step may log.
    lintra::CommonProcLoad();
    lintra::ComUnitLoad();
    lintra::nx::RegisterNXDrivers();
    lintra::nx::StartNXConfiguration();
}

__attribute__((destructor)) void LintraUnload() {
    // exit() called by a client's procedure on a line's thread: that thread cannot wait for its
    // own line to stop, so the lines and everything they use are left as they are for the
    // process's end.
    if (lintra::TBaseThread::OnLibraryThread()) return;
    // The lines' threads end first: every line uses what the steps below free, and a bridged
    // line the lines of the network-controller drivers. Then the drivers go with their threads.
    lintra::FreeAllLines();
    lintra::nx::DestroyAllDrivers();
    lintra::nx::FreeNXConfiguration();
    lintra::ComUnitUnload();
    // The log set goes last, after the steps that may still log on their way out.
    lintra::CommonProcUnload();
}

}  // namespace
