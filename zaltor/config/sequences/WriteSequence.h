#pragma once
// Writing the configuration image into a panel: the poll order, the P03 entries of M39 blocks,
// the zone count, the zones, the cards, the passwords and the sections, one command at a time.
#include <vector>

#include "zaltor/config/ConfigImage.h"
#include "zaltor/config/sequences/SequenceStep.h"

namespace zaltor {

inline constexpr uint8_t kEmptySlotType = 0x42;
// Sent for a block whose type name is none of the eight: a code of no type, which the panel may
// refuse with the block's number in the message, and which reads back as no type.
inline constexpr uint8_t kUnknownTypeCode = 0x00;

// Every command of the write in order, with its texts and flag checks.
std::vector<PlannedStep> writePlan(const ConfigImage &image);

// Sends the plan over the open connection. A failed command has been reported and has closed the
// connection; an abort closes it here.
SequenceResult writeSequence(shell::EngineContext &ctx, shell::PanelConnection &connection, const ConfigImage &image);

}  // namespace zaltor
