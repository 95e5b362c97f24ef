#include "lintra/ports/lines/PultsDriver.h"

#include <chrono>
#include <thread>

#include "lintra/ports/lines/PanelPort.h"
#include "lintra/ports/lines/PultControl.h"

namespace lintra {

TPultsDriver::TPultsDriver(TPanelPort &port) : TBaseThread("TPultsDriver"), port_(port) {}

TPultsDriver::~TPultsDriver() {
    {
        std::lock_guard lock(pauseMutex_);
        stopping_ = true;
    }
    Terminate();
    wake_.notify_all();
    Stop();
}

void TPultsDriver::pause(uint32_t ms) {
    std::unique_lock lock(pauseMutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void TPultsDriver::Execute() {
    pause(kStartPauseMs);
    while (!Terminated()) {
        switch (port_.Step()) {
        case TPanelPort::StepResult::Served:
            std::this_thread::yield();
            break;
        case TPanelPort::StepResult::Idle:
            pause(TPultControl::kIdleStepMs);
            break;
        case TPanelPort::StepResult::NoLine:
        case TPanelPort::StepResult::LockTimeout:
            pause(kNoLinePauseMs);
            break;
        }
    }
}

}  // namespace lintra
