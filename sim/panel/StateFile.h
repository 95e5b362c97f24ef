#pragma once
// The panels of a line as readable text: what a test compares after writing a panel, and what
// the simulator loads at start. One line per entry, only entries that differ from a fresh
// panel, plus every stored message:
//   panel 5 format 0 ring 1024
//   clock 2026-03-05 09:04:00
//   lastzone 12
//   slot 1 0012 42                     slot, address (hex), type code (hex)
//   zone 3 flags 01 state 00 block 40 timer 0 arm 10 trigger 0   (hex flags/state/block)
//   card 7 0A0B0C0D                    user, code bytes (hex); password likewise
//   quarter 0 2 0102030405060708       section, quarter, mask bytes (hex)
//   m39 1 0012                         entry, address (hex)
//   message 0 1 0 0 2026-03-05 09:04:00   number, type, P1, P2, time
//   next 1                             number of the next stored message
#include <cstdint>
#include <optional>
#include <string>

#include "sim/panel/PanelLine.h"

namespace sim {

std::string saveState(const PanelLine &line, uint64_t nowMs);
std::string savePanel(const Panel &panel, uint64_t nowMs);

// Puts every panel of the text on the line (replacing panels of the same address, keeping
// others). Nothing changes when the text is refused; the answer is then "line N: reason".
std::optional<std::string> loadState(const std::string &text, PanelLine &line, uint64_t nowMs);

}  // namespace sim
