#include "lintra/ports/intlcb/RstThread.h"

#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr uint8_t kCodePrepareRestart = 0x15;
constexpr uint32_t kRtsHoldMs = 5000;
constexpr uint32_t kRtsStepMs = 10;

}  // namespace

TRstThread::TRstThread(int line, TIntLCBMaster &master, tessel::Clock &clock, Wire wire)
    : TBaseThread("TRstThread"), line_(line), master_(master), clock_(clock), wire_(std::move(wire)) {}

TRstThread::~TRstThread() { Stop(); }

void TRstThread::Reset() {
    master_.setServing(false);
    clock_.sleepMs(100);
    LogLine(line_, "TRstThread.Execute::Рассылка предупреждения", 7);
    PanelFrame warning = PanelFrame::fromBytes(std::array<uint8_t, 3>{0xA4, PanelFrame::kBroadcastAddress,
                                                                       kCodePrepareRestart});
    FrameChecksum(warning);
    wire_.transmit(warning);
    clock_.sleepMs(static_cast<uint32_t>(std::max(Policy().prepareToRestartTimeout, 0)));
    wire_.transmit(warning);
    clock_.sleepMs(100);
    LogLine(line_, "TRstThread.Execute::Начало сброса", 7);
    for (uint32_t held = 0; held < kRtsHoldMs && !Terminated(); held += kRtsStepMs) {
        wire_.raiseRts();
        clock_.sleepMs(kRtsStepMs);
    }
    wire_.reopen();
    clock_.sleepMs(10);
    LogLine(line_, "TRstThread.Execute::Завершение сброса", 7);
    if (!Terminated()) clock_.sleepMs(2000);
    LogLine(line_, "TRstThread.Execute::Завершение", 6);
    master_.setServing(true);
}

}  // namespace lintra
