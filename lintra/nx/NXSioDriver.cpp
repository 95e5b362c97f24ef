#include "lintra/nx/NXSioDriver.h"

#include "lintra/nx/NXSystemPackets.h"
#include "platform/Clock.h"

namespace lintra::nx {

TNXSioDriver::TNXSioDriver()
    : TNXLinkDriver(tessel::SteadyClock::instance(), std::make_unique<TMSio>(), true,
                    {.name = "TNXSioDriver", .readLevel = 9, .packetLevel = 8, .numbered = false}) {}

void TNXSioDriver::LogCreate() {
    TNXDriver::LogCreate();
    LogText(5, "TNXSioDriver.Create:: Тип Orvel-Ethernet");
}

bool TNXSioDriver::Init(const TParamList *params) {
    TNXDriver::Init(params);
    portName_ = Params().Value("Port").value_or("");
    baud_ = Params().IntValue("Baud", kDefaultBaud);
    return true;
}

bool TNXSioDriver::Connect() {
    if (Connected()) return true;
    Port().Close();
    LogText(6, "TNXSioDriver.Connect:: Порт " + portName_ + "/" + std::to_string(baud_));
    if (!Port().Open(portName_, baud_)) return false;
    LinkOpened();
    // The lines hear of the connection as on TCP, or they would never open.
    return TNXDriver::Connect();
}

bool TNXSioDriver::HandShake() {
    ClearSystemQueue();
    Pause(kSettleMs);
    if (SendText(packets::kAskSerial) && WaitPkt(rcvBuf_, kAnswerWaitMs)) {
        rcvBuf_.Clear();
        MarkLinkUp();
        return true;
    }
    Disconnect();
    return false;
}

void TNXSioDriver::EndThread() {
    LogText(6, "TNXSioDriver.Destroy");
    TNXLinkDriver::EndThread();
}

}  // namespace lintra::nx
