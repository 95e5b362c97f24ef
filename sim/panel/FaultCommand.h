#pragma once
// The fault part of a control command, shared by every simulator: from field `at` on,
//   KIND [ARG] [times N]   switch a fault on (for the next N uses, or until switched off)
//   KIND off | off         switch one or every fault off
// The answer is "ok\n" or "error ...\n".
#include <string>
#include <vector>

#include "sim/panel/Faults.h"

namespace sim {

std::string applyFaultCommand(FaultSet &faults, const std::vector<std::string> &f, size_t at);

}  // namespace sim
