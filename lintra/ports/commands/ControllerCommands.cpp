#include "lintra/ports/commands/ControllerCommands.h"

#include <string>

#include "lintra/ports/commands/CommandErrorFile.h"
#include "lintra/ports/commands/ControllerCommandText.h"
#include "lintra/ports/commands/ControllerLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"
#include "lintra/runtime/Logger.h"

namespace lintra {
namespace {

constexpr int kNotOpen = 4;
constexpr int kAddressOutOfRange = 5;
constexpr uint32_t kSlowDownMs = 100;

std::string codeText(uint16_t cmd) {
    std::string digits(2, '0');
    IntToHexFixed(cmd, digits.data(), 2);
    return digits + "h";
}

void logRefusal(int line, CommandCheck check, uint16_t cmd) {
    const char *text = check == CommandCheck::NotInTable ? "Unknown command "
                       : check == CommandCheck::TooFew   ? "To Few parameters for command "
                                                         : "To much parameters for command ";
    LogLine(line, text + codeText(cmd), 3);
}

void recordInCommandLog(int line, long queued, const PanelFrame &frame, bool disabled) {
    TLogger *log = CommandLog();
    if (!log || !log->Enabled(7)) return;
    log->Write(7, std::string(disabled ? "#" : "") + "line " + std::to_string(line) + " [" +
                      std::to_string(queued) + "] " + ControllerCommandText(frame));
}

void dispatch(tessel::Clock &clock, int line, uint16_t address, uint16_t cmd,
              std::span<const uint8_t> params, int &result) {
    const auto port = LineTable::Get(line);
    const TControllerLine *controller = port ? AsControllerLine(*port) : nullptr;
    if (!controller) {
        LogLineBytes16(line, "SendContrCommand:: Line not created", PanelFrame{}.bytes, 2);
        result = kNotOpen;
        return;
    }
    PanelFrame frame;  // with the address's low byte until the address is checked
    const CommandCheck check = ControllerCommandTable::Build(static_cast<uint8_t>(address), cmd, params,
                                                             controller->controllerLink(), frame);
    if (check != CommandCheck::Built) {
        result = static_cast<int>(check);
        logRefusal(line, check, cmd);
        return;
    }
    if (port->closed()) {
        LogLineBytes16(line, "SendContrCommand:: Line closed", frame.bytes, 7);
        result = kNotOpen;
        return;
    }
    if (address > 0xFF) {  // a frame carries one address byte
        result = kAddressOutOfRange;
        return;
    }
    TFrameQueue &queue = port->outQueue();
    const bool disabled = IsCommandDisabled(line, frame.wire());
    recordInCommandLog(line, static_cast<long>(queue.Count()), frame, disabled);
    if (!disabled) port->SendComMsg(frame, 0);
    const size_t length = queue.Count();
    if (ControllerQueueNearlyFull(length, queue.Capacity())) {
        LogLine(line, "4. Transmit queue is close to full " + std::to_string(length) + "/" +
                          std::to_string(queue.Capacity()), 3);
        clock.sleepMs(kSlowDownMs);
    }
    result = 0;
}

}  // namespace

int SendContrCommand(tessel::Clock &clock, int line, uint16_t address, uint16_t cmd,
                     std::span<const uint8_t> params) {
    int result = -1;
    try {
        dispatch(clock, line, address, cmd, params, result);
    } catch (...) {
        AppendCommandError(line, cmd, address, static_cast<int>(params.size()));
    }
    return result;
}

}  // namespace lintra
