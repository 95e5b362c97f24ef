#pragma once
// One panel connection of the loader: where the panel is and what was opened to reach it. Kept
// by an operation from opening to closing.
#include <cstdint>
#include <string>

namespace zaltor::shell {

struct PanelConnection {
    int line = 0;  // the library's line, 0..255
    int address = 0;
    int portNumber = 0;
    std::string host;  // host and network port both set: through a network controller
    std::string networkPort;
    int32_t driverHandle = -1;  // Driver API handles, -1 when none
    int32_t lineId = -1;
    bool lineStarted = false;  // StartPanel opened the line, so closing it is ours to do

    std::string portName() const { return "COM" + std::to_string(portNumber); }
    bool viaNetController() const { return !host.empty() && !networkPort.empty(); }
};

}  // namespace zaltor::shell
