#include "sim/panel/ServerCommands.h"

namespace sim {

std::optional<std::string> executeServerCommand(const std::vector<std::string> &f, const ControlHooks &hooks) {
    if (f.empty()) return std::nullopt;
    if (f[0] == "pace" && f.size() == 2 && (f[1] == "on" || f[1] == "off")) {
        hooks.setPace(f[1] == "on");
        return "ok\n";
    }
    if (f[0] == "quit" && f.size() == 1) {
        hooks.quit();
        return "ok\n";
    }
    if (f[0] == "hangup" && f.size() == 1) {
        hooks.hangUp();
        return "ok\n";
    }
    return std::nullopt;
}

}  // namespace sim
