#include "lintra/nx/NXEthDriver.h"

#include <algorithm>

#include "platform/Clock.h"

namespace lintra::nx {

TNXEthDriver::TNXEthDriver()
    : TNXLinkDriver(tessel::SteadyClock::instance(), std::make_unique<TMSocket>(), false,
                    {.name = "TNXEthDriver", .readLevel = 8, .packetLevel = 7, .numbered = true}) {}

void TNXEthDriver::LogCreate() {
    TNXDriver::LogCreate();
    LogText(5, "TNXEthDriver.Create:: Тип Orvel-Ethernet");
}

bool TNXEthDriver::Init(const TParamList *params) {
    TNXDriver::Init(params);
    host_ = Params().Value("Host").value_or("");
    port_ = static_cast<uint16_t>(std::clamp(Params().IntValue("Port", kDefaultPort), 0, 65535));
    return true;
}

bool TNXEthDriver::Connect() {
    if (Connected()) return true;
    if (!Socket().Connect(host_, port_)) {
        LogText(4, "TNXEthDriver.Connect:: Sock not connected, errno=" + std::to_string(Socket().LastError()));
        return false;
    }
    LogText(6, "TNXEthDriver.Connect:: Connected to " + host_ + ":" + std::to_string(port_));
    LinkOpened();
    if (!TNXDriver::Connect()) {
        LogText(4, "TNXEthDriver.Connect:: HandShake ERROR");
        return false;
    }
    LogText(6, "TNXEthDriver.Connect:: HandShake OK");
    return true;
}

void TNXEthDriver::EndThread() {
    LogText(6, "TNXEthDriver.Destroy");
    TNXLinkDriver::EndThread();
}

}  // namespace lintra::nx
