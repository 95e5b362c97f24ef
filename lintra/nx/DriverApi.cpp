#include "lintra/nx/DriverApi.h"

#include <memory>
#include <vector>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/CommDriver.h"
#include "lintra/nx/CommLine.h"
#include "lintra/nx/DriverTables.h"
#include "lintra/nx/DriverTypes.h"
#include "lintra/nx/ParamList.h"
#include "lintra/nx/ParamOverrides.h"

namespace lintra::nx {

namespace {

TCommDriver *FindDriver(int32_t handle) {
    TablesGuard guard;
    return DriverTable().Find(handle);
}

TCommLine *FindLine(int32_t handle) {
    TablesGuard guard;
    return LineTable().Find(handle);
}

// Enters a new object into its table and names it with its handle in one hold, so that no
// lookup finds it half set up. 0 when the table is full.
template <typename T, typename Name>
int32_t Register(THandleTable<T> &table, T *made, Name name) {
    TablesGuard guard;
    const int32_t handle = table.Take(made);
    if (handle != 0) name(handle);
    return handle;
}

}  // namespace

int32_t CreateDriver(int32_t type, const char *params) {
    TParamList list = TParamList::FromText(params);
    const DriverMaker make = FindDriverType(type);
    if (!make) return kUnsupported;
    TCommDriver *const made = make().release();
    const int32_t handle = Register(DriverTable(), made, [made](int32_t h) { made->Attach(h); });
    if (handle == 0) {
        // Without a handle no client could ever reach or destroy it.
        TCommDriver::Destroy(made);
        return kNoObject;
    }
    MergeParamOverride(OverrideTable::drivers, handle, list);
    if (!made->Init(&list)) {
        TCommDriver::Destroy(made);
        return kRefused;
    }
    return handle;
}

int32_t DriverCommand(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    TCommDriver *driver = FindDriver(handle);
    return driver ? driver->DoCmd(cmd, p1, p2) : 0;
}

int32_t CreateLine(int32_t driverHandle, int32_t lineNo, int32_t lineType, const char *params) {
    TCommDriver *driver = FindDriver(driverHandle);
    if (!driver) return kNoObject;
    TParamList list = TParamList::FromText(params);
    const LineMaker make = FindLineType(lineType);
    if (!make) return kUnsupported;
    TCommLine *const made = make(*driver).release();
    const int32_t handle = Register(LineTable(), made, [made](int32_t h) { made->SetHandle(h); });
    if (handle == 0) {
        TCommLine::Destroy(made);
        return 0;  // the line table is full: no valid handle
    }
    // Attached outside the tables lock: AddLine takes the driver's pass lock.
    made->SetLineNumber(driver->AddLine(made, lineNo));
    MergeParamOverride(OverrideTable::lines, handle, list);
    if (!made->Init(&list)) {
        TCommLine::Destroy(made);
        return kRefused;
    }
    return handle;
}

int32_t LineCommand(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    TCommLine *line = FindLine(handle);
    return line ? line->DoCmd(cmd, p1, p2) : kNoObject;
}

int32_t DestroyAllDrivers() {
    std::vector<TCommDriver *> drivers;
    {
        TablesGuard guard;
        drivers = DriverTable().TakeAll();
    }
    // Outside the tables lock: a driver waits for its thread's pass, and a pass may take the
    // tables lock to empty a line's slot.
    for (TCommDriver *driver : drivers) TCommDriver::Destroy(driver);
    return 0;
}

}  // namespace lintra::nx
