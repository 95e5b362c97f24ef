#include "lintra/ports/lines/StartLine.h"

#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/LineClose.h"
#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"

namespace lintra {

int StartLineObject(int32_t line, const std::string &port, intptr_t wnd,
                    const std::function<std::shared_ptr<TPortControl>()> &make) {
    if (!IsLineNumber(line)) return kStartCannotOpen;
    SettlePendingCloses();
    if (LineTable::Get(line)) return kStartLineInUse;
    // The per-line tables start afresh when no line is open in any process.
    if (SharedObjects::OpenLineCount() == 0) {
        LineState::Reset();
        LoadLineState();
    }
    const std::optional<TEventTarget> target = ResolveClient(wnd);
    if (!target) return kStartNoClient;
    SetClientWindow(target->window);

    std::shared_ptr<TPortControl> object = make();
    object->setEventTarget(*target);
    if (!LineTable::Put(line, object)) return kStartLineInUse;
    if (!object->InitCom(port, line)) {
        LineTable::Take(line);
        return kStartCannotOpen;
    }
    LineEvents::instance().createReady(line);
    return SharedObjects::IncrementOpenLineCount();
}

}  // namespace lintra
