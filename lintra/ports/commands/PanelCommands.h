#pragma once
// The two ways a client commands a panel: queued for the line's polling (SendPultCommand) or
// exchanged at once on the client's thread (SendCmdGetReply). Both check the command against
// PanelCommandTable and build its frame for the line's panel address.
#include <cstdint>
#include <span>

#include "lintra/ports/EventRecord.h"

namespace lintra {

// 0 or minus the free places left in the line's queue once the frame is in; 1 not a panel
// line or a code outside the table; 2 too few parameters; 3 too many; 4 line not open or closed.
int SendPultCommand(int line, uint16_t cmd, std::span<const uint8_t> params);

// 0 when the exchange ran and reply holds its record; 1 not a panel
// line or a code outside the table; 2, 3 as above; -4 line not open. A line stopped by
// ShutdownCom still exchanges.
int SendCmdGetReply(int line, uint16_t cmd, std::span<const uint8_t> params, EventRecord &reply);

}  // namespace lintra
