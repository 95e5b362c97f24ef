#pragma once
// TNXSioDriver: an NCX controller on a serial port (Driver API driver type 2). Parameters:
// Port (a device path or a COM name), Baud (default 19200), and those of every NX driver.
#include <string>

#include "lintra/nx/MSio.h"
#include "lintra/nx/NXLinkDriver.h"

namespace lintra::nx {

class TNXSioDriver final : public TNXLinkDriver {
public:
    static constexpr int32_t kType = 2;
    static constexpr int32_t kDefaultBaud = 19200;
    static constexpr uint32_t kAnswerWaitMs = 1000;
    static constexpr uint32_t kSettleMs = 50;

    TNXSioDriver();
    bool Init(const TParamList *params) override;
    // Opens the port and runs the serial start-up exchange.
    bool Connect() override;
    // Any answer to the serial handshake question within a second counts as a live
    // controller; the controller keeps its line configuration.
    bool HandShake() override;

protected:
    void LogCreate() override;
    void EndThread() override;

private:
    TMSio &Port() { return static_cast<TMSio &>(Link()); }

    std::string portName_;
    int32_t baud_ = kDefaultBaud;
};

}  // namespace lintra::nx
