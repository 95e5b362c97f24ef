#pragma once
// The commands the mailbox race posts and how its takers take and report them. Every field of
// command k derives from k, so a taker that mixes two commands shows.
#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "lintra/ports/commands/ControllerMailboxService.h"

namespace lintra::test {

inline constexpr int kMailboxLine = 9;
inline constexpr uint16_t kStopCommand = 0xFFFF;  // ends the one taker that takes it

inline MailboxCommand scriptedCommand(int k) {
    MailboxCommand command;
    command.address = static_cast<uint16_t>(k);
    command.command = static_cast<uint16_t>(3 * k);
    command.params.resize(1 + k % 13);
    for (size_t i = 0; i < command.params.size(); ++i) command.params[i] = static_cast<uint8_t>(k + i);
    return command;
}

inline std::string describe(const MailboxCommand &command) {
    std::string text = std::to_string(command.address) + " " + std::to_string(command.command) + " ";
    for (uint8_t byte : command.params) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", byte);
        text += hex;
    }
    return text;
}

// Takes the line's commands, reporting each, until it takes a stop or `quit` is set.
template <typename Report>
void takeUntilStop(const std::atomic<bool> &quit, Report report) {
    while (!quit) {
        const std::optional<MailboxCommand> taken = TakeControllerMailbox(kMailboxLine);
        if (!taken) {
            std::this_thread::yield();
        } else if (taken->command == kStopCommand) {
            return;
        } else {
            report(describe(*taken));
        }
    }
}

}  // namespace lintra::test
