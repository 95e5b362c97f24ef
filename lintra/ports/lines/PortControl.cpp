#include "lintra/ports/lines/PortControl.h"

#include "lintra/ports/delivery/LineEvents.h"

namespace lintra {

TPortControl::TPortControl(int line) : line_(line), outQueue_(TFrameQueue::Create(kOutQueueCapacity)) {}

TPortControl::~TPortControl() { markTerminating(); }

void TPortControl::markTerminating() {
    if (terminating_.exchange(true)) return;
    if (auto ready = LineEvents::instance().ready(line_)) ready->set();
}

void TPortControl::SendEvInfo(EventRecord &record) { lintra::SendEvInfo(target_, *this, record); }

void TPortControl::StopLine() {
    if (closed_.exchange(true)) return;
    SendComMsg(PanelFrame::connectionLost(), 0);
}

}  // namespace lintra
