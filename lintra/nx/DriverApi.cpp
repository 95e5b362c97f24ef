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

}  // namespace

int32_t CreateDriver(int32_t type, const char *params) {
    TParamList list = TParamList::FromText(params);
    const DriverMaker make = FindDriverType(type);
    if (!make) return kUnsupported;
    std::unique_ptr<TCommDriver> driver = make();
    TCommDriver *const made = driver.release();
    int32_t handle = 0;
    {
        // Registered and given its log in one hold, so no lookup finds it half set up.
        TablesGuard guard;
        handle = DriverTable().Take(made);
        if (handle != 0) made->Attach(handle);
    }
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
    std::unique_ptr<TCommLine> line = make(*driver);
    TCommLine *const made = line.release();
    int32_t handle = 0;
    {
        TablesGuard guard;
        handle = LineTable().Take(made);
        if (handle != 0) made->SetHandle(handle);
    }
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
