#pragma once
// Reading a panel's configuration into a record buffer: the poll order, the zone count, every
// user's password, card and section quarters, then the zones up to the zone count.
#include "zaltor/config/RecordBuffer.h"
#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/PanelConnection.h"

namespace zaltor {

// Empties the buffer and stores the panel's replies as records (key replies with the user
// number in d5). Answers the byte count of the records when the whole reading completed, -1
// when it stopped: a failed command (reported, connection closed) or an abort (connection
// closed, nothing more said).
int readPanel(shell::EngineContext &ctx, shell::PanelConnection &connection, RecordBuffer &buffer);

}  // namespace zaltor
