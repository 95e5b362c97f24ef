#include "lintra/ports/commands/ControllerMailboxService.h"

#include <algorithm>

#include "lintra/ports/commands/ControllerCommands.h"
#include "lintra/ports/lines/SharedObjects.h"

namespace lintra {

namespace {

constexpr uint32_t kMutexWaitMs = 50;

// The writer fills the box, sets its target last, and fills it again only once the target is
// empty. A compare-exchange of the target alone would not keep a command whole: between one
// taker's copy and its exchange another could take the command and the writer post the next
// for the same line, and the exchange would succeed over a mix of both. So every taker checks,
// copies and empties the box under the one shared mutex: a target seen here marks a whole
// command that stays put until this taker empties it.
std::optional<MailboxCommand> takeHoldingMutex(const ControllerMailbox &box, int line) {
    if (SharedObjects::MailboxTarget() != line) return std::nullopt;
    MailboxCommand taken;
    taken.address = SharedObjects::MailboxAddress();
    taken.command = box.command;
    const uint16_t declared = box.paramCount;
    taken.params.assign(box.params, box.params + std::min<size_t>(declared, sizeof box.params));
    // A compare-exchange all the same: a writer that retargets a full box loses nothing to it.
    if (!SharedObjects::ExchangeMailboxTarget(line, ControllerMailbox::kEmpty)) return std::nullopt;
    return taken;
}

}  // namespace

std::optional<MailboxCommand> TakeControllerMailbox(int line) {
    // A look without the mutex first: every polling cycle of every line asks.
    if (SharedObjects::MailboxTarget() != line) return std::nullopt;
    ControllerMap *map = SharedObjects::Controllers();
    host::NamedMutex *mutex = SharedObjects::GlobalMutex();
    if (!map || !mutex) return std::nullopt;
    const host::LockResult locked = mutex->lock(kMutexWaitMs);
    if (locked != host::LockResult::Acquired && locked != host::LockResult::Recovered) return std::nullopt;
    std::optional<MailboxCommand> taken = takeHoldingMutex(map->mailbox, line);
    mutex->unlock();
    return taken;
}

void ServeControllerMailbox(tessel::Clock &clock, int line) {
    if (const std::optional<MailboxCommand> taken = TakeControllerMailbox(line))
        SendContrCommand(clock, line, taken->address, taken->command, taken->params);
}

}  // namespace lintra
