#pragma once
// The unit command codes the simulated controllers know.
#include <cstdint>

namespace sim {

// Commands after which the PC waits for the line controller's acknowledgement (0x64).
bool isAcknowledged(uint8_t code);
// Commands a unit carries out: the acknowledged ones and the others the PC's command texts name.
bool isKnownUnitCommand(uint8_t code);

}  // namespace sim
