#pragma once
// The panels sharing one line, as on a real loop: a request is answered only by the panel of
// its address (a broadcast is carried out by all, unanswered), with that panel's faults applied.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/panel/AnswerFaults.h"
#include "sim/panel/Panel.h"

namespace sim {

struct LinePanel {
    Panel panel;
    FaultSet faults;
    uint32_t heard = 0;     // frames addressed to the panel (broadcasts not counted)
    uint32_t answered = 0;  // answers sent, faulty ones included
};

class PanelLine {
public:
    // False when a panel of that address is already on the line.
    bool add(Panel panel);
    // Replaces the panel of the same address (and clears its faults), or adds it.
    void put(Panel panel);
    LinePanel *find(uint8_t address);
    const std::map<uint8_t, LinePanel> &panels() const { return panels_; }

    // What goes out in reply to one received frame; `speedMode` is the line's present mode
    // (kNoSpeedMode when its settings match none).
    std::optional<Transmission> receive(std::span<const uint8_t> frame, uint64_t nowMs, int speedMode);

private:
    std::map<uint8_t, LinePanel> panels_;
};

}  // namespace sim
