#pragma once
// TRstThread: the reset of an intelligent serial line. Polling pauses (serving off) while the
// units are warned twice to prepare for a restart, RTS is held raised for 5 s and the port is
// reopened; then polling resumes.
#include <functional>

#include "lintra/host/Port.h"
#include "lintra/ports/intlcb/IntLcbMaster.h"
#include "lintra/runtime/BaseThread.h"
#include "platform/Clock.h"

namespace lintra {

class TRstThread final : public TBaseThread {
public:
    struct Wire {
        std::function<void(const PanelFrame &)> transmit;
        std::function<void()> raiseRts;
        std::function<void()> reopen;
    };

    TRstThread(int line, TIntLCBMaster &master, tessel::Clock &clock, Wire wire);
    ~TRstThread() override;

    // The whole sequence, on the calling thread (the thread body; tests call it directly).
    void Reset();

protected:
    void Execute() override { Reset(); }

private:
    const int line_;
    TIntLCBMaster &master_;
    tessel::Clock &clock_;
    Wire wire_;
};

}  // namespace lintra
