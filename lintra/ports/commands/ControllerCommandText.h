#pragma once
// The readable form of a controller command in the command log: "адрес " + the unit address
// as two hex digits + " команда: " + the command text.
#include <string>

#include "lintra/ports/PanelFrame.h"

namespace lintra {

// The command text is the code as two hex digits, the form of every command that has no text
// of its own.
std::string ControllerCommandText(const PanelFrame &frame);

}  // namespace lintra
