// The command exports: C arguments to the dispatch functions.
#include <cstddef>
#include <cstring>
#include <span>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/EventRecord.h"
#include "lintra/ports/commands/ControllerCommands.h"
#include "lintra/ports/commands/LcbCommand.h"
#include "lintra/ports/commands/PanelCommands.h"
#include "lintra/runtime/CommonProc.h"

namespace {

using lintra::EventRecord;

// A null block holds no parameter, whatever the count says.
std::span<const uint8_t> block(const uint8_t *params, uint16_t count) {
    return {params, params ? count : size_t{0}};
}

}  // namespace

extern "C" {

LINTRA_API int32_t SendPultCommand(uint16_t line, int32_t, uint16_t cmd, uint16_t count,
                                   const uint8_t *params) {
    return lintra::host::Guarded("SendPultCommand", 4,
                   [&] { return lintra::SendPultCommand(line, cmd, block(params, count)); });
}

LINTRA_API int32_t SendCmdGetReply(uint16_t line, int32_t, uint16_t cmd, uint16_t count,
                                   const uint8_t *params, LintraEventRecord *reply) {
    return lintra::host::Guarded("SendCmdGetReply", -4, [&] {
        EventRecord record{};
        const int32_t result = lintra::SendCmdGetReply(line, cmd, block(params, count), record);
        if (result == 0 && reply) std::memcpy(reply, &record, sizeof record);
        return result;
    });
}

LINTRA_API int32_t SendContrCommand(uint16_t line, uint16_t addr, uint16_t cmd, uint16_t count,
                                    const uint8_t *params) {
    // Its own failures go to cl.erl; the guard only catches a failure to write that entry.
    return lintra::host::Guarded("SendContrCommand", -1, [&] {
        return lintra::SendContrCommand(tessel::SteadyClock::instance(), line, addr, cmd, block(params, count));
    });
}

LINTRA_API int32_t LCBCommand(uint16_t line, uint16_t cmd, uint16_t count, const uint8_t *params) {
    return lintra::host::Guarded("LCBCommand", 4, [&] {
        return lintra::LCBCommand(tessel::SteadyClock::instance(), line, cmd, block(params, count));
    });
}

}
