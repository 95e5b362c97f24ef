#pragma once
// The readable form of a controller command in the command log: "адрес " + the unit address
// as two hex digits + " команда: " + the command text.
#include <string>

#include "lintra/ports/PanelFrame.h"

namespace lintra {

// Commands without a text of their own show their code as two hex digits. Parameters are read
// from the frame's 16-byte buffer whatever its length says, so a short frame never over-reads.
std::string ControllerCommandText(const PanelFrame &frame);

}  // namespace lintra
