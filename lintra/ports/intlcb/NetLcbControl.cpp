#include "lintra/ports/intlcb/NetLcbControl.h"

#include "lintra/ports/intlcb/NetLcbTransport.h"
#include "lintra/ports/lines/NetPortString.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
TNetLCBControl::TNetLCBControl(int line, tessel::Clock &clock) : TIntLcbLine(line, clock) {}

TNetLCBControl::~TNetLCBControl() { stopPolling(); }

bool TNetLCBControl::InitCom(const std::string &port, int line) {
    const std::string call = "TNetLCBControl.InitCom( " + port + ", " + std::to_string(line) + " )";
    LogMain(call, 6);
    LogLine(line, call, 5);
    setPortName(port);
    const auto parts = ParseNetPortString(port);
    if (!parts) return false;
    const std::string peer = GatewayPeer(line, *parts, port);
    startPolling(std::make_unique<TNetLcbTransport>(TcpConnector(parts->host, parts->service), clock_, line,
                                                    parts->greeting, peer),
                 {1000, 1});
    LogLine(line, "Линия инициализирована, порт " + port + " (" + peer + ")", 5);
    return true;
}

}  // namespace lintra
