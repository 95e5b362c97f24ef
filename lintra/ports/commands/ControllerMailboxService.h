#pragma once
// The ControllerMailbox that another program fills for a line-controller line: the line's
// thread takes a command addressed to it and passes it to SendContrCommand.
#include "platform/Clock.h"

namespace lintra {

// Takes the mailbox's command when its target is this line. A parameter count past the 13
// bytes the mailbox holds is cut to them; SendContrCommand refuses what a frame cannot carry.
void ServeControllerMailbox(tessel::Clock &clock, int line);

}  // namespace lintra
