#include "lintra/ports/commands/ControllerMailboxService.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>

#include "lintra/ports/commands/ControllerCommands.h"
#include "lintra/ports/lines/SharedObjects.h"

namespace lintra {

void ServeControllerMailbox(tessel::Clock &clock, int line) {
    ControllerMap *map = SharedObjects::Controllers();
    if (!map) return;
    ControllerMailbox &box = map->mailbox;
    // The mailbox is packed (its target sits at offset 2) and shared without a lock: copy, never
    // take a reference to its fields.
    int32_t target = 0;
    std::memcpy(&target, reinterpret_cast<const uint8_t *>(&box) + offsetof(ControllerMailbox, targetLine), sizeof target);
    if (target != line) return;
    const int32_t empty = ControllerMailbox::kEmpty;
    std::memcpy(reinterpret_cast<uint8_t *>(&box) + offsetof(ControllerMailbox, targetLine), &empty, sizeof empty);
    const uint16_t declared = box.paramCount;
    const size_t count = std::min<size_t>(declared, sizeof box.params);
    uint8_t params[sizeof box.params];
    std::copy_n(box.params, count, params);
    SendContrCommand(clock, line, box.address, box.command, std::span<const uint8_t>(params, count));
}

}  // namespace lintra
