#include "lintra/ports/intlcb/IntLcbLine.h"

#include "lintra/ports/FrameToRecord.h"
#include "lintra/ports/commands/ControllerMailboxService.h"
#include "lintra/ports/lines/com_unit.h"

namespace lintra {

TIntLcbLine::TIntLcbLine(int line, tessel::Clock &clock) : TPortControl(line), clock_(clock) {}

TIntLcbLine::~TIntLcbLine() { stopPolling(); }

void TIntLcbLine::startPolling(std::unique_ptr<TLcbTransport> transport, Pacing pacing) {
    transport_ = std::move(transport);
    master_ = std::make_unique<TIntLCBMaster>(
        line(), *transport_, outQueue(), clock_, Policy(),
        TIntLCBMaster::Hooks{[this](const PanelFrame &frame) { deliver(frame); },
                             [this] { ServeControllerMailbox(clock_, line()); }});
    thread_ = std::make_unique<TLoopThread>("TIntComThread", TLoopThread::Loop{pacing.firstPauseMs, [this, pacing] {
                                                  std::lock_guard lock(wireMutex_);
                                                  master_->ServeContr();
                                                  return pacing.pauseMs;
                                              }});
    thread_->Start();
}

void TIntLcbLine::stopPolling() {
    markTerminating();
    if (thread_) thread_->StopLoop();
}

void TIntLcbLine::deliver(const PanelFrame &frame) {
    EventRecord record = EventFrameToRecord(frame, LocalTimeOf(clock_));
    record.line = static_cast<uint16_t>(line());
    SendEvInfo(record);
}

int TIntLcbLine::SendComMsg(const PanelFrame &frame, int) {
    if (!frame.isInternal()) {
        PanelFrame queued = frame;
        FrameChecksum(queued);
        outQueue().Put(queued);
        return 0;
    }
    switch (frame.code()) {
        case PanelFrame::kCodeUnitCount:
            LineState::SetUnitCount(line(), frame.param(0));
            break;
        case PanelFrame::kCodeConnectionLost:
            if (master_) master_->setPolling(false);
            break;
        case PanelFrame::kCodeConnectionRestored:
            if (master_) master_->setPolling(true);
            break;
        case kCodeLineReset:
            if (master_ && master_->BeginReset()) StartLineReset();
            break;
        default:
            break;
    }
    return 0;
}

int32_t TIntLcbLine::answerCounter() const { return transport_ ? transport_->answerCounter() : 0; }

}  // namespace lintra
