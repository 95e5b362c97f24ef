#pragma once
// A panel line behind a TCP serial gateway (StartNetRS). TNetRSLCBMaster is the panel polling
// with the gateway's rules over a gateway link; TNetRSLCBControl adds the port string, the
// connection and TNetRSComThread, which runs the step. For clients it is a line-controller line
// reached over TCP: commands come through SendContrCommand and LCBCommand, not the panel
// exports.
#include <memory>
#include <string>

#include "lintra/ports/commands/ControllerLine.h"
#include "lintra/ports/lines/LoopThread.h"
#include "lintra/ports/lines/NetPortString.h"
#include "lintra/ports/lines/PultPolling.h"
#include "lintra/ports/netrs/GatewayPort.h"

namespace lintra {


class TNetRSLCBMaster : public TPultPolling {
public:
    static constexpr PultPollRules kGatewayRules{.restoreCountdownStart = 0,
                                                 .repeatOnAnyErrorAnswer = true,
                                                 .huntSpeed = false,
                                                 .resyncAfterFailure = false,
                                                 .stepLog = false,
                                                 .plainNumberWrap = true,
                                                 .recordsFromPanel = true};

    TNetRSLCBMaster(int line, uint8_t address, tessel::Clock &clock) : TPultPolling(line, address, clock, kGatewayRules) {}
    ~TNetRSLCBMaster() override;
    // Joins a panel port of its own over the gateway stream; tests pass a scripted stream.
    bool JoinGateway(std::unique_ptr<GatewayStream> stream);
    // One polling step with its records delivered.
    void ServeContr();
    bool ReInitCom() override { return true; }
    // Internal frames switch message polling (0x66 on, 0x65 off) or set the unit count (0x60),
    // others are ignored; any other frame is signed and queued. The result is 0.
    int SendComMsg(const PanelFrame &frame, int priority) override;

private:
    std::unique_ptr<TPultLink> MakeLink(Port &port) override;

    GatewayPort *gateway_ = nullptr;  // owned by the panel port
};

class TNetRSLCBControl final : public TNetRSLCBMaster, public TControllerLine {
public:
    TNetRSLCBControl(int line, uint8_t address, tessel::Clock &clock = tessel::SteadyClock::instance())
        : TNetRSLCBMaster(line, address, clock) {}
    ~TNetRSLCBControl() override;
    // False when the port string lacks two colons. A host that does not resolve is logged;
    // every connect tries it again.
    bool InitCom(const std::string &port, int line) override;
    ControllerLink controllerLink() const override { return ControllerLink::Tcp; }
    const NetPortString &gateway() const { return gateway_; }

private:
    NetPortString gateway_;
    std::unique_ptr<TLoopThread> thread_;  // TNetRSComThread
};

}  // namespace lintra
