#pragma once
// Reading and setting a tty's line settings with the kernel's termios2, which carries any baud
// rate (10400 included). Kept apart because <asm/termbits.h> clashes with <termios.h>.
#include <optional>

#include "sim/panel/LineSettings.h"

namespace sim {

// On a pseudo-terminal master this answers the slave's settings as the client set them.
std::optional<LineSettings> readTtySettings(int fd);
// Raw mode with the given settings (no echo, no translation, receive parity not checked).
bool applyTtySettings(int fd, const LineSettings &s);

}  // namespace sim
