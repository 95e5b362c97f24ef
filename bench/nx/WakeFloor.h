#pragma once
// The floor under the driver's idle figure on this machine: a bare thread that waits on an idle
// loopback TCP socket a bounded time, tries a read and yields, again and again, as the driver's
// idle passes do. Only that thread's own CPU counts, so it can run beside the driver.
#include <chrono>

namespace bench {

// Percent of one core the thread used over the window.
double wakeFloorPercent(std::chrono::milliseconds window, std::chrono::milliseconds wait);

}  // namespace bench
