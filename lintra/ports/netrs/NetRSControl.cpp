#include "lintra/ports/netrs/NetRSControl.h"

#include <exception>

#include "lintra/ports/lines/PanelPort.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/netrs/GatewayLink.h"
#include "lintra/ports/netrs/TcpGatewayStream.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr uint32_t kStartPauseMs = 1000;
constexpr uint32_t kStepPauseMs = 10;

}  // namespace

TNetRSLCBMaster::~TNetRSLCBMaster() { LeavePort(); }

std::unique_ptr<TPultLink> TNetRSLCBMaster::MakeLink(Port &) {
    return std::make_unique<TGatewayLink>(*gateway_, clock(), line(), address());
}

bool TNetRSLCBMaster::JoinGateway(std::unique_ptr<GatewayStream> stream) {
    auto port = std::make_unique<GatewayPort>(std::move(stream), line(), clock());
    gateway_ = port.get();
    auto panelPort = std::make_shared<TPanelPort>(std::move(port), portName());
    if (!JoinPort(panelPort, true)) return false;
    // The gateway has no speed modes: the port keeps the one the link was made with.
    panelPort->setMode(link().speedMode());
    return true;
}

int TNetRSLCBMaster::SendComMsg(const PanelFrame &frame, int) {
    if (!frame.isInternal()) {
        PanelFrame queued = frame;
        FrameChecksum(queued);
        outQueue().Put(queued);  // no new-command flag: a silent gateway line reports no loss again
        return 0;
    }
    if (frame.code() == PanelFrame::kCodeConnectionLost) setMessagePolling(false);
    else if (frame.code() == PanelFrame::kCodeConnectionRestored) setMessagePolling(true);
    else if (frame.code() == PanelFrame::kCodeUnitCount) LineState::SetUnitCount(line(), frame.param(0));
    return 0;
}

void TNetRSLCBMaster::ServeContr() {
    // The port lock keeps a direct exchange out of the step; the serving mutex keeps the line
    // alive until its last delivery.
    std::lock_guard serving(servingMutex());
    TPortLock &lock = panelPort()->lock();
    if (!lock.lock(TPortLock::Who::Polling, TPanelPort::kLockWaitMs)) return;
    StepRecords step;
    try {
        step = ServePult();
    } catch (const std::exception &e) {
        LogLine(line(), std::string("TNetRSLCBMaster.ServeContr::") + e.what(), 2);
    }
    lock.unlock();
    for (size_t i = 0; i < step.count; ++i) SendEvInfo(step.records[i]);
}

TNetRSLCBControl::~TNetRSLCBControl() {
    if (thread_) thread_->StopLoop();
}

bool TNetRSLCBControl::InitCom(const std::string &port, int line) {
    LogMain("TNetRSLCBControl.InitCom( " + port + ", " + std::to_string(line) + " )", 6);
    setPortName(port);
    const std::optional<NetPortString> parsed = ParseNetPortString(port);
    if (!parsed) return false;
    GatewayPeer(line, *parsed, port);
    gateway_ = *parsed;
    if (!JoinGateway(std::make_unique<TcpGatewayStream>(gateway_.host, gateway_.service))) return false;
    thread_ = std::make_unique<TLoopThread>("TNetRSComThread", TLoopThread::Loop{kStartPauseMs, [this] {
                                                ServeContr();
                                                return kStepPauseMs;
                                            }});
    thread_->Start();
    LogLine(this->line(), "Линия инициализирована, порт " + port, 5);
    return true;
}

}  // namespace lintra
