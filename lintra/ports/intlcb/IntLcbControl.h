#pragma once
// TIntLCBControl: an intelligent line-controller line on a serial port (StartIntCom). The PC
// polls every unit itself; a line reset (TRstThread) warns the units and holds RTS for 5 s.
#include <memory>

#include "lintra/ports/intlcb/IntLcbLine.h"
#include "lintra/ports/intlcb/RstThread.h"
#include "lintra/ports/intlcb/SerialLcbTransport.h"
#include "lintra/ports/lines/ControllerPort.h"

namespace lintra {

class TIntLCBControl final : public TIntLcbLine {
public:
    explicit TIntLCBControl(int line, tessel::Clock &clock = tessel::SteadyClock::instance());
    ~TIntLCBControl() override;

    bool InitCom(const std::string &port, int line) override;
    bool ReInitCom() override;
    int SendComMsg(const PanelFrame &frame, int priority) override;
    ControllerLink controllerLink() const override { return ControllerLink::Serial; }

private:
    void StartLineReset() override;

    TControllerPort port_;
    TSerialLcbTransport *transport_ = nullptr;  // owned by the shared part
    std::unique_ptr<TRstThread> reset_;
};

}  // namespace lintra
