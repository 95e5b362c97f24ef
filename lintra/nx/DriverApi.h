#pragma once
// The Driver API as the library calls it in-process; the exports of lintra.h wrap these.
#include <cstdint>

namespace lintra::nx {

int32_t CreateDriver(int32_t type, const char *params);
int32_t DriverCommand(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2);
int32_t CreateLine(int32_t driverHandle, int32_t lineNo, int32_t lineType, const char *params);
int32_t LineCommand(int32_t handle, int32_t cmd, intptr_t p1, intptr_t p2);
// Destroys every driver with its lines; answers 0. The library's unload runs it first.
int32_t DestroyAllDrivers();

}  // namespace lintra::nx
