#pragma once
// Description of the events the library reports itself (source 251), shown as messages of the
// network controller. Every code has a text; only unusable data is refused.
#include <cstdint>
#include <span>
#include <string>

namespace zaltor::console {

// Arguments and results as DecodePanelMessage; at most the data area's bytes are listed.
int DecodeNetControllerMessage(uint16_t code, std::span<const uint8_t> data, std::size_t length,
                               std::string &text);

}  // namespace zaltor::console
