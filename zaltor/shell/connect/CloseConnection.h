#pragma once
// Closing a panel connection, on every path that opened one.
#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/PanelConnection.h"

namespace zaltor::shell {

// Hides the indicator and ends what the connection opened: the line (only when StartPanel
// opened it, so a line that was already in use stays with its owner), then the Driver API line
// and driver. Each is forgotten once ended, so a second close ends nothing.
void closeConnection(EngineContext &ctx, PanelConnection &connection);

}  // namespace zaltor::shell
