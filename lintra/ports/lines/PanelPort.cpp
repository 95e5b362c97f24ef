#include "lintra/ports/lines/PanelPort.h"

#include <exception>

#include "lintra/host/PortName.h"
#include "lintra/host/SerialPort.h"
#include "lintra/ports/lines/PultPolling.h"
#include "lintra/ports/lines/LoopThread.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

std::string TPanelPort::DeviceOf(const std::string &name) { return host::resolvePortName(name).value_or(name); }

std::unique_ptr<Port> TPanelPort::OpenDevice(const std::string &name, int *error) {
    const std::optional<std::string> device = host::resolvePortName(name);
    if (!device) {
        *error = ENOENT;
        return nullptr;
    }
    return host::SerialPort::open(*device, error);
}

TPanelPort::TPanelPort(std::unique_ptr<Port> port, std::string name)
    : port_(std::move(port)), name_(std::move(name)) {}

TPanelPort::~TPanelPort() { driver_.reset(); }

bool TPanelPort::enter(TPultPolling *line, uint8_t address) {
    std::lock_guard lock(slotsMutex_);
    if (slots_[address]) return false;
    slots_[address] = line;
    return true;
}

int TPanelPort::leave(TPultPolling *line) {
    int left = 0;
    {
        std::lock_guard lock(slotsMutex_);
        for (auto &slot : slots_)
            if (slot == line) slot = nullptr;
        for (auto *slot : slots_) left += slot != nullptr;
    }
    // No step picks the line any more; wait for one that already has.
    std::lock_guard wait(line->servingMutex());
    return left;
}

int TPanelPort::lineCount() const {
    std::lock_guard lock(slotsMutex_);
    int count = 0;
    for (auto *slot : slots_) count += slot != nullptr;
    return count;
}

TPanelPort::StepResult TPanelPort::Step() {
    if (!lock_.lock(TPortLock::Who::Polling, kLockWaitMs)) return StepResult::LockTimeout;
    TPultPolling *line = nullptr;
    std::unique_lock<std::mutex> busy;
    {
        std::lock_guard slots(slotsMutex_);
        for (size_t i = 1; i <= slots_.size() && !line; ++i) {
            const size_t index = (lastServed_ + i) % slots_.size();
            if (slots_[index]) {
                line = slots_[index];
                lastServed_ = index;
                busy = std::unique_lock(line->servingMutex());
            }
        }
    }
    if (!line) {
        lock_.unlock();
        return StepResult::NoLine;
    }
    TPultPolling::StepRecords step;
    try {
        step = line->ServePult();
    } catch (const std::exception &e) {
        LogLine(line->line(), std::string("TPultControl.ServePult::") + e.what(), 2);
    }
    lock_.unlock();
    for (size_t i = 0; i < step.count; ++i) line->SendEvInfo(step.records[i]);
    return step.idle ? StepResult::Idle : StepResult::Served;
}

void TPanelPort::startDriver() {
    if (driver_) return;
    driver_ = std::make_unique<TLoopThread>("TPultsDriver", TLoopThread::Loop{kStartPauseMs, [this]() -> uint32_t {
                                                switch (Step()) {
                                                    case StepResult::Served:
                                                        return 0;
                                                    case StepResult::Idle:
                                                        return TPultPolling::kIdleStepMs;
                                                    case StepResult::NoLine:
                                                    case StepResult::LockTimeout:
                                                        break;
                                                }
                                                return kNoLinePauseMs;
                                            }});
    driver_->Start();
}

}  // namespace lintra
