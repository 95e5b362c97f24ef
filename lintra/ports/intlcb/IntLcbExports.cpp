// The start exports of intelligent line-controller lines: StartIntCom on a serial port,
// StartNetCom behind a TCP gateway, and their variants without a window.
#include <functional>
#include <memory>
#include <string>

#include "lintra/include/lintra.h"
#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/intlcb/IntLcbControl.h"
#include "lintra/ports/intlcb/NetLcbControl.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr int kLineInUse = -1;
constexpr int kNoClient = -2;
constexpr int kCannotOpen = -4;

using LineFactory = std::function<std::shared_ptr<TIntLcbLine>(int line)>;

// The common start steps; name is the export as the logs write it.
int StartIntLcbLine(const char *name, int32_t line, const char *port, intptr_t wnd, const LineFactory &make) {
    const std::string portName = port ? port : "";
    LogMain(std::string(name) + "( " + std::to_string(line) + ", " + portName + ", " + std::to_string(wnd) + " )", 6);
    if (!IsLineNumber(line) || !port) return kCannotOpen;
    if (LineTable::Get(line)) return kLineInUse;
    if (SharedObjects::OpenLineCount() == 0) {
        LineState::Reset();
        LoadLineState();
    }
    LogLine(line, std::string(name) + "::Параметры загружены", 8);
    const std::optional<TEventTarget> target = ResolveClient(wnd);
    if (!target) {
        LogLine(line, std::string(name) + "::Ошибка messages", 8);
        return kNoClient;
    }
    SetClientWindow(target->window);
    const std::shared_ptr<TIntLcbLine> object = make(line);
    object->setEventTarget(*target);
    if (!LineTable::Put(line, object)) return kLineInUse;
    if (!object->InitCom(portName, line)) {
        const std::string failure = std::string(name) + "::Невозможно инициализировать com";
        LogLine(line, failure, 2);
        LogMain(failure, 2);
        LineTable::Take(line);
        return kCannotOpen;
    }
    LogLine(line, std::string(name) + "::Создан com thread", 7);
    LineEvents::instance().createReady(line);
    LogMain(std::string(name) + "::Возврат", 4);
    return SharedObjects::IncrementOpenLineCount();
}

std::shared_ptr<TIntLcbLine> serialLine(int line) { return std::make_shared<TIntLCBControl>(line); }
std::shared_ptr<TIntLcbLine> netLine(int line) { return std::make_shared<TNetLCBControl>(line); }

}  // namespace
}  // namespace lintra

using namespace lintra;

extern "C" {

LINTRA_API int32_t StartIntCom(int32_t line, const char *port, intptr_t wnd) {
    return StartIntLcbLine("StartIntCom", line, port, wnd, serialLine);
}

LINTRA_API int32_t StartIntComNew(int32_t line, const char *port) {
    return StartIntLcbLine("StartIntCom", line, port, 0, serialLine);
}

LINTRA_API int32_t StartNetCom(int32_t line, const char *port, intptr_t wnd) {
    return StartIntLcbLine("StartNetCom", line, port, wnd, netLine);
}

LINTRA_API int32_t StartNetComNew(int32_t line, const char *port) {
    return StartIntLcbLine("StartNetCom", line, port, 0, netLine);
}

}  // extern "C"
