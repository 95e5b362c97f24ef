#include "lintra/ports/commands/PanelCommands.h"

#include <string>

#include "lintra/ports/CommandTables.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/panel/PultControl.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr int kNotOpen = 4;
constexpr size_t kNearlyFull = 50;
constexpr const char *kNotCreated = "SendPultCommand:: Линия не создана";

// The "er=" of the build log line: 1 for a built frame, minus the table's verdict otherwise.
int buildLogCode(CommandCheck check) {
    return check == CommandCheck::Built ? 1 : -static_cast<int>(check);
}

}  // namespace

int SendPultCommand(int line, uint16_t cmd, std::span<const uint8_t> params) {
    const auto port = LineTable::Get(line);
    if (!port) {
        LogLineBytes16(line, kNotCreated, PanelFrame{}.bytes, 2);
        return kNotOpen;
    }
    if (port->closed()) {
        LogLineBytes16(line, "SendPultCommand:: Линия закрыта", PanelFrame{}.bytes, 7);
        return kNotOpen;
    }
    const auto panel = std::dynamic_pointer_cast<TPultControl>(port);
    if (!panel) return static_cast<int>(CommandCheck::NotInTable);

    PanelFrame frame;
    const CommandCheck check = PanelCommandTable::Build(panel->address(), cmd, params, frame);
    LogLineBytes16(line, "SendPultCommand:: er=" + std::to_string(buildLogCode(check)) + " pr=0",
                   frame.bytes, 7);
    if (check != CommandCheck::Built) return static_cast<int>(check);

    const int free = panel->SendComMsg(frame, 0);
    if (free >= 0 && static_cast<size_t>(free) < kNearlyFull)
        LogLine(line, "1.Очередь на передачу близка к заполнению " + std::to_string(free) + "/p=0", 3);
    return -free;
}

int SendCmdGetReply(int line, uint16_t cmd, std::span<const uint8_t> params, EventRecord &reply) {
    const auto port = LineTable::Get(line);
    if (!port) {
        LogLine(line, kNotCreated, 2);
        return -kNotOpen;
    }
    // Only a panel answers a direct exchange.
    const auto panel = std::dynamic_pointer_cast<TPultControl>(port);
    if (!panel) return static_cast<int>(CommandCheck::NotInTable);

    PanelFrame frame;
    const CommandCheck check = PanelCommandTable::Build(panel->address(), cmd, params, frame);
    if (check != CommandCheck::Built) return static_cast<int>(check);
    panel->SendCmdGetRepl(frame, reply);
    return 0;
}

}  // namespace lintra
