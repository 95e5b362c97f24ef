#pragma once
// TNetLCBControl: an intelligent line-controller line behind a TCP gateway (StartNetCom). The
// master and its choice of units are those of the serial kind; only the transport differs.
#include "lintra/ports/intlcb/IntLcbLine.h"
#include "lintra/ports/intlcb/NetStream.h"

namespace lintra {

class TNetLCBControl final : public TIntLcbLine {
public:
    explicit TNetLCBControl(int line, tessel::Clock &clock = tessel::SteadyClock::instance());
    ~TNetLCBControl() override;

    // False when the port string lacks two colons. A host that does not resolve is logged;
    // every connect tries it again.
    bool InitCom(const std::string &port, int line) override;
    // The connection is reopened by the next send after a failure; nothing to do here.
    bool ReInitCom() override { return true; }
    ControllerLink controllerLink() const override { return ControllerLink::Tcp; }
};

}  // namespace lintra
