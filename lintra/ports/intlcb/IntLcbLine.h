#pragma once
// The part of an intelligent line-controller line that the serial and the TCP kind share: the
// master over the kind's transport, its polling thread and the internal frames of LCBCommand.
#include <memory>
#include <mutex>

#include "lintra/ports/commands/ControllerLine.h"
#include "lintra/ports/intlcb/IntLcbMaster.h"
#include "lintra/ports/lines/LoopThread.h"
#include "lintra/ports/lines/PortControl.h"
#include "platform/Clock.h"

namespace lintra {

class TIntLcbLine : public TPortControl, public TControllerLine {
public:
    // Internal codes the line acts on itself.
    static constexpr uint8_t kCodeLineReset = 0x62;

    ~TIntLcbLine() override;

    // Internal frames switch polling, set the unit count or (serial kind) reset the line; every
    // other frame gets its checksum and joins the queue. The result is 0.
    int SendComMsg(const PanelFrame &frame, int priority) override;
    int32_t answerCounter() const override;

    TIntLCBMaster *master() { return master_.get(); }

protected:
    TIntLcbLine(int line, tessel::Clock &clock);

    // The polling thread's pauses: before the first step, and between steps.
    struct Pacing {
        uint32_t firstPauseMs;
        uint32_t pauseMs;
    };
    // Creates the master over the transport and starts its thread with the kind's pacing.
    void startPolling(std::unique_ptr<TLcbTransport> transport, Pacing pacing);
    // Stops the polling thread; a subclass calls it before its own members go.
    void stopPolling();
    // The serial kind resets its line; the TCP kind has no reset.
    virtual void StartLineReset() {}

    tessel::Clock &clock_;
    // Held around every step of the master and while the port is reopened.
    std::recursive_mutex wireMutex_;

private:
    void deliver(const PanelFrame &frame);

    std::unique_ptr<TLcbTransport> transport_;
    std::unique_ptr<TIntLCBMaster> master_;
    std::unique_ptr<TLoopThread> thread_;
};

}  // namespace lintra
