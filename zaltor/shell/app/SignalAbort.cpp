#include "zaltor/shell/app/SignalAbort.h"

#include <csignal>

namespace zaltor::shell {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStopSignal(int) { stopRequested = 1; }

}  // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopSignalled() { return stopRequested != 0; }

void SignalAbortUi::processEvents() {
    inner_.processEvents();
    if (!stopSignalled() || !state_.operation) return;
    state_.operation = false;
    if (!reported_) inner_.showMessage("Операция прервана", kMessageCaption, MessageIcon::Information);
    reported_ = true;
}

}  // namespace zaltor::shell
