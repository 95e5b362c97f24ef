#include "lintra/ports/intlcb/IntLcbControl.h"

#include <algorithm>

#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr uint32_t kStartMs = 5000;

}  // namespace

TIntLCBControl::TIntLCBControl(int line, tessel::Clock &clock) : TIntLcbLine(line, clock), port_(line, clock) {}

TIntLCBControl::~TIntLCBControl() {
    markTerminating();
    if (reset_) reset_->Stop();
    stopPolling();
}

bool TIntLCBControl::InitCom(const std::string &port, int line) {
    LogMain("TIntLCBControl.InitCom( " + port + ", " + std::to_string(line) + " )", 6);
    setPortName(port);
    if (!port_.InitCom(port)) return false;
    auto transport = std::make_unique<TSerialLcbTransport>(port_, clock_, this->line(), [this] { ReInitCom(); });
    transport_ = transport.get();
    LogMain("LCBM created", 6);
    // A pause of ReqTimeout + 1 ms comes before every step.
    const uint32_t stepPauseMs = static_cast<uint32_t>(std::max(Policy().reqTimeout, 0)) + 1;
    startPolling(std::move(transport), {kStartMs + stepPauseMs, stepPauseMs});
    LogMain("IntComThread created", 6);
    LogMain("end TIntLCBControl.InitCom", 5);
    return true;
}

bool TIntLCBControl::ReInitCom() {
    std::lock_guard lock(wireMutex_);
    return port_.Reopen();
}

int TIntLCBControl::SendComMsg(const PanelFrame &frame, int priority) {
    if (LineLogEnabled(line(), 6)) LogLineBytes16(line(), "TIntLCBControl.SendComMsg", frame.bytes, 6);
    return TIntLcbLine::SendComMsg(frame, priority);
}

void TIntLCBControl::StartLineReset() {
    LogLine(line(), "Рестарт линии", 4);
    if (reset_) reset_->Stop();  // a reset that has ended; one runs at a time (serving is off meanwhile)
    reset_ = std::make_unique<TRstThread>(
        line(), *master(), clock_,
        TRstThread::Wire{[this](const PanelFrame &f) {
                             std::lock_guard lock(wireMutex_);
                             transport_->TransmitMsg(f);
                         },
                         [this] {
                             std::lock_guard lock(wireMutex_);
                             port_.setRts(true);
                         },
                         [this] { ReInitCom(); }});
    reset_->Start();
}

}  // namespace lintra
