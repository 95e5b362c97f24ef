#pragma once
// TNXEthDriver: an NCX controller on TCP (Driver API driver type 1). Parameters: Host, Port
// (default 21302), and those of every NX driver.
#include <string>

#include "lintra/nx/MSocket.h"
#include "lintra/nx/NXLinkDriver.h"

namespace lintra::nx {

class TNXEthDriver final : public TNXLinkDriver {
public:
    static constexpr int32_t kType = 1;
    static constexpr uint16_t kDefaultPort = 21302;

    TNXEthDriver();
    bool Init(const TParamList *params) override;
    // Opens a new connection and runs the start-up exchange over it.
    bool Connect() override;

protected:
    void LogCreate() override;
    void EndThread() override;

private:
    TMSocket &Socket() { return static_cast<TMSocket &>(Link()); }

    std::string host_;
    uint16_t port_ = kDefaultPort;
};

}  // namespace lintra::nx
