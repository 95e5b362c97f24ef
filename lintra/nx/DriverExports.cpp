// The Driver API exports of liblintra.so.
#include "lintra/host/ExportGuard.h"
#include "lintra/include/lintra.h"
#include "lintra/nx/CommCodes.h"
#include "lintra/nx/DriverApi.h"

using lintra::host::Guarded;
namespace nx = lintra::nx;

extern "C" {

LINTRA_API int32_t DriverCreate(int32_t type, const char *params) {
    return Guarded("DriverCreate", nx::kNoObject, [&] { return nx::CreateDriver(type, params); });
}

LINTRA_API int32_t DriverDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    return Guarded("DriverDoCmd", 0, [&] { return nx::DriverCommand(handle, cmd, p1, p2); });
}

LINTRA_API int32_t DriverLineCreate(int32_t driver, int32_t line_no, int32_t line_type, const char *params) {
    return Guarded("DriverLineCreate", nx::kNoObject,
                   [&] { return nx::CreateLine(driver, line_no, line_type, params); });
}

LINTRA_API int32_t DriverLineDoCmd(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2) {
    return Guarded("DriverLineDoCmd", nx::kNoObject, [&] { return nx::LineCommand(handle, cmd, p1, p2); });
}

LINTRA_API int32_t DriversDestroy(void) {
    return Guarded("DriversDestroy", 0, [] { return nx::DestroyAllDrivers(); });
}

}  // extern "C"
