#include "lintra/nx/DriverTables.h"

namespace lintra::nx {

namespace {
// The library's ELF constructor and destructor may run outside the dynamic initialisers and
// static destructors of this archive: the tables are constant-initialised and the lock is
// never destroyed.
constinit THandleTable<TCommDriver> drivers;
constinit THandleTable<TCommLine> lines;
}  // namespace

RecursiveMutex &TablesLock() {
    static RecursiveMutex *const lock = new RecursiveMutex;
    return *lock;
}

THandleTable<TCommDriver> &DriverTable() { return drivers; }
THandleTable<TCommLine> &LineTable() { return lines; }

}  // namespace lintra::nx
