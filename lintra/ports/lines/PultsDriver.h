#pragma once
// TPultsDriver: the polling thread of one port with panel lines. A thin loop around
// TPanelPort::Step(); its pauses end early when the thread is asked to stop.
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "lintra/runtime/BaseThread.h"

namespace lintra {

class TPanelPort;

class TPultsDriver final : public TBaseThread {
public:
    static constexpr uint32_t kStartPauseMs = 1000;
    static constexpr uint32_t kNoLinePauseMs = 100;

    explicit TPultsDriver(TPanelPort &port);
    // Wakes a pause in progress and waits for the loop to end.
    ~TPultsDriver() override;

protected:
    void Execute() override;

private:
    void pause(uint32_t ms);

    TPanelPort &port_;
    std::mutex pauseMutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

}  // namespace lintra
