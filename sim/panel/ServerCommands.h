#pragma once
// The control commands every simulator hands to its serving loop:
//   pace on|off   pace every sent byte at the line's baud rate
//   hangup        close every TCP client (a gateway that drops its connections)
//   quit          stop the simulator
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct ControlHooks {
    std::function<void(bool)> setPace = [](bool) {};
    std::function<void()> quit = [] {};
    std::function<void()> hangUp = [] {};
};

// The answer when f is one of these commands, else nullopt.
std::optional<std::string> executeServerCommand(const std::vector<std::string> &f, const ControlHooks &hooks);

}  // namespace sim
