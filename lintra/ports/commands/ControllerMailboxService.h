#pragma once
// The ControllerMailbox that another program fills for a line-controller line: the line's
// thread takes a command addressed to it and passes it to SendContrCommand.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Clock.h"

namespace lintra {

struct MailboxCommand {
    uint16_t address = 0;
    uint16_t command = 0;
    // The declared count cut to the 13 bytes the mailbox holds.
    std::vector<uint8_t> params;
};

// The mailbox's command when its target is this line, the mailbox emptied. Of all the lines of
// one number, in every process, exactly one takes each command. nullopt when there is none for
// the line, or when the shared mutex was not had within a short wait: the command then waits
// for the next call.
std::optional<MailboxCommand> TakeControllerMailbox(int line);

// Takes the command and sends it; SendContrCommand refuses what a frame cannot carry.
void ServeControllerMailbox(tessel::Clock &clock, int line);

}  // namespace lintra
