#pragma once
// Opening a panel connection from its values: the line on a serial port or on a network
// controller's line, then polling started, the panel searched for and polling ended.
#include <cstdint>

#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/PanelConnection.h"

namespace zaltor::shell {

inline constexpr int kConnectBarMax = 200;
inline constexpr uint64_t kSearchLimitMs = 30000;

// Opens the line of `connection` (address, line, port number, host and network port set by the
// caller; the Driver API handles are filled in) and answers whether the panel answered. The
// window gets the line's event records (0: none). A line opened for a panel that was not found
// stays open: the caller closes the connection on every path. When the operation flag is cleared
// while the connection waits or searches, it stops and answers false.
bool connectByValues(EngineContext &ctx, PanelConnection &connection, intptr_t window, IProgressBar *bar);

}  // namespace zaltor::shell
