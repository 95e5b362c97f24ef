#pragma once
// The two global tables of the Driver API, drivers and lines, and the one re-entrant lock over
// both. The lock is held only while a slot is taken, looked up or emptied; never while a
// driver's pass lock is wanted, since a pass may empty a line's slot (lock order: pass, then
// tables).
#include "lintra/nx/HandleTable.h"
#include "lintra/runtime/RecursiveMutex.h"

namespace lintra::nx {

class TCommDriver;
class TCommLine;

RecursiveMutex &TablesLock();
THandleTable<TCommDriver> &DriverTable();
THandleTable<TCommLine> &LineTable();

// Holds TablesLock() for a scope.
class TablesGuard {
public:
    TablesGuard() { TablesLock().lock(); }
    ~TablesGuard() { TablesLock().unlock(); }
    TablesGuard(const TablesGuard &) = delete;
    TablesGuard &operator=(const TablesGuard &) = delete;
};

}  // namespace lintra::nx
