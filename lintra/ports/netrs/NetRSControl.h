#pragma once
// A panel line behind a TCP serial gateway (StartNetRS). TNetRSLCBMaster is the panel polling
// step with the gateway's rules over a GatewayPort; TNetRSLCBControl adds the port string, the
// connection and TNetRSComThread, which runs the step.
#include <memory>
#include <string>

#include "lintra/ports/intlcb/IntComThread.h"
#include "lintra/ports/intlcb/NetPortString.h"
#include "lintra/ports/lines/PultControl.h"
#include "lintra/ports/netrs/GatewayPort.h"

namespace lintra {

using TNetRSComThread = TIntComThread;
inline constexpr TIntComThread::Pacing kNetRSPacing{1000, 0, 10};

class TNetRSLCBMaster : public TPultControl {
public:
    TNetRSLCBMaster(int line, uint8_t address, tessel::Clock &clock)
        : TPultControl(line, address, clock, GatewayRules()) {}
    // Joins a panel port of its own over the gateway stream; tests pass a scripted stream.
    bool JoinGateway(std::unique_ptr<GatewayStream> stream);
    // One polling step with its records delivered.
    void ServeContr();
    bool ReInitCom() override { return true; }
};

class TNetRSLCBControl final : public TNetRSLCBMaster {
public:
    TNetRSLCBControl(int line, uint8_t address, tessel::Clock &clock = tessel::SteadyClock::instance())
        : TNetRSLCBMaster(line, address, clock) {}
    ~TNetRSLCBControl() override;
    // False when the port string lacks two colons or the host does not resolve.
    bool InitCom(const std::string &port, int line) override;
    const NetPortString &gateway() const { return gateway_; }

private:
    NetPortString gateway_;
    std::unique_ptr<TNetRSComThread> thread_;
};

}  // namespace lintra
