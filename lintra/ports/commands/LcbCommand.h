#pragma once
// LCBCommand: the service commands through which a client configures a line's units (mask,
// count, limit) and switches a panel line's message polling. Each command becomes internal
// frames (address 0xFB) for the line's SendComMsg; a line-controller line sends them on, a
// panel line acts on them itself.
#include <cstdint>
#include <span>
#include <vector>

#include "lintra/ports/PanelFrame.h"
#include "platform/Clock.h"

namespace lintra {

// Results of LCBCommand.
enum class LcbResult : int { Done = 0, Unknown = 1, TooFew = 2, TooMany = 3, LineMissing = 4,
                             UnitOutOfRange = 5 };

struct LcbPlan {
    LcbResult result = LcbResult::Done;
    std::vector<PanelFrame> frames;  // for SendComMsg in this order, 50 ms apart
};

// Checks the command, applies its effect on the line's unit tables and answers the frames to
// send. The line must be open; closed tells whether it has been stopped.
LcbPlan PlanLcbCommand(int line, uint16_t cmd, std::span<const uint8_t> params, bool closed);

// The export's work on an open or missing line: log the call, plan it, send the frames.
int LCBCommand(tessel::Clock &clock, int line, uint16_t cmd, std::span<const uint8_t> params);

}  // namespace lintra
