#pragma once
// The readable form of a controller command in the command log: "адрес " + the unit address
// as two hex digits + " команда: " + the command text.
#include <string>

#include "lintra/ports/PanelFrame.h"

namespace lintra {

// The command text is the code as two hex digits; commands with texts of their own are
// named by the command log formatter.
std::string ControllerCommandText(const PanelFrame &frame);

}  // namespace lintra
