#pragma once
// SendContrCommand: a command for a unit behind a line-controller line, checked against
// ControllerCommandTable, recorded in the command log and queued unless "discmd.ini" forbids
// it for the line. It is also what the line-controller threads call for the ControllerMailbox.
#include <cstdint>
#include <span>

#include "platform/Clock.h"

namespace lintra {

// 0 queued or suppressed; 1 code outside the table; 2 too few parameters; 3 too many; 4 line
// not open, not a line-controller line, or closed; 5 address above 255. A failure inside adds
// an entry to "cl.erl" and answers the result reached so far (-1 before any).
int SendContrCommand(tessel::Clock &clock, int line, uint16_t address, uint16_t cmd,
                     std::span<const uint8_t> params);

}  // namespace lintra
