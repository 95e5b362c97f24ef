// The exports that stop, close and inspect a line of any kind.
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/host/ExportGuard.h"
#include "lintra/ports/lines/LineClose.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

void ShutdownLine(int line) {
    const auto object = LineTable::Get(line);
    if (!object) return;
    LogLine(line, "Команда на закрытие линии", 5);
    object->StopLine();
}

}  // namespace
}  // namespace lintra

using namespace lintra;

extern "C" {

LINTRA_API void ShutdownCom(int32_t line) {
    host::Guarded("ShutdownCom", [&] { ShutdownLine(line); });
}

LINTRA_API void ShutdownAll(void) {
    host::Guarded("ShutdownAll", [] {
        LogMain("Команда на закрытие всех линий", 5);
        for (int line = 0; line < kLineCount; ++line) ShutdownLine(line);
    });
}

LINTRA_API void CloseCom(int32_t line) {
    host::Guarded("CloseCom", [&] { CloseLine(line); });
}

LINTRA_API int32_t LengthOfOutQueue(int32_t line) {
    return host::Guarded("LengthOfOutQueue", -1, [&] {
        const auto object = LineTable::Get(line);
        return object ? static_cast<int32_t>(object->outQueue().Count()) : -1;
    });
}

}  // extern "C"
