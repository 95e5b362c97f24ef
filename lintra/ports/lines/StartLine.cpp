#include "lintra/ports/lines/StartLine.h"

#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/LineClose.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

int StartLineObject(int32_t line, const std::string &port, intptr_t wnd,
                    const std::function<std::shared_ptr<TPortControl>()> &make, const char *traceName) {
    const auto trace = [&](const char *step, int level, bool general = false) {
        if (!traceName) return;
        const std::string text = std::string(traceName) + "::" + step;
        if (general) LogMain(text, level);
        else LogLine(line, text, level);
    };
    if (!IsLineNumber(line)) return kStartCannotOpen;
    SettlePendingCloses();
    if (LineTable::Get(line)) return kStartLineInUse;
    // The per-line tables start afresh when no line is open in any process.
    if (SharedObjects::OpenLineCount() == 0) {
        LineState::Reset();
        LoadLineState();
    }
    trace("Параметры загружены", 8);
    const std::optional<TEventTarget> target = ResolveClient(wnd);
    if (!target) {
        trace("Ошибка messages", 8);
        return kStartNoClient;
    }
    SetClientWindow(target->window);

    std::shared_ptr<TPortControl> object = make();
    object->setEventTarget(*target);
    if (!LineTable::Put(line, object)) return kStartLineInUse;
    bool opened = false;
    try {
        opened = object->InitCom(port, line);
    } catch (...) {
        LineTable::Take(line);
        throw;
    }
    if (!opened) {
        trace("Невозможно инициализировать com", 2);
        trace("Невозможно инициализировать com", 2, true);
        LineTable::Take(line);
        return kStartCannotOpen;
    }
    trace("Создан com thread", 7);
    LineEvents::instance().createReady(line);
    trace("Возврат", 4, true);
    return SharedObjects::IncrementOpenLineCount();
}

}  // namespace lintra
