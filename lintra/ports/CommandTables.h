#pragma once
// The command sets the library accepts from clients and the frames it builds from them. Frames
// come out without checksum; it is set when the frame is queued or sent.
#include <cstdint>
#include <optional>
#include <span>

#include "lintra/ports/PanelFrame.h"

namespace lintra {

// Results of checking a command against a table; the command exports return them as they are.
enum class CommandCheck : int { Built = 0, NotInTable = 1, TooFew = 2, TooMany = 3 };

struct ParamRange {
    uint16_t min;
    uint16_t max;
};

// Panel commands: each code has one exact parameter count; frame = 4 + count bytes.
struct PanelCommandTable {
    static CommandCheck Build(uint8_t address, uint16_t code, std::span<const uint8_t> params,
                              PanelFrame &frame);
};

// How the controller line is reached; it decides the layout of command 58.
enum class ControllerLink { Serial, Tcp };

// Line-controller commands: each code has a range of parameter counts; frame = 4 + count bytes,
// except command 58 (':') whose frame is count + 6 bytes with its parameters from byte 3
// (over serial only the first seven, whatever the count). Counts the table admits but a 15-byte
// frame cannot carry are refused as too many.
struct ControllerCommandTable {
    static constexpr uint16_t kColonCommand = 58;  // the special frame layout

    static std::optional<ParamRange> Params(uint16_t code);
    static CommandCheck Build(uint8_t address, uint16_t code, std::span<const uint8_t> params,
                              ControllerLink link, PanelFrame &frame);
};

}  // namespace lintra
