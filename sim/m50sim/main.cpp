// m50-sim: simulated M50 panels on a pseudo-terminal, a tty device or loopback TCP.
#include <fstream>
#include <sstream>

#include "sim/m50sim/Options.h"
#include "sim/m50sim/PanelResponder.h"
#include "sim/panel/StateFile.h"
#include "sim/serve/SimMain.h"

int main(int argc, char **argv) {
    using namespace sim;
    constexpr const char *kProgram = "m50-sim";
    auto parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (auto status = endBeforeServing(kProgram, parsed, usageText())) return *status;
    const Options &o = *parsed.options;

    uint64_t nowMs = SimServer::nowMs();
    PanelLine line;
    for (const PanelSpec &p : o.panels) line.add(Panel(p.address, p.format, localNow(), nowMs, o.ring));
    if (!o.statePath.empty()) {
        std::ifstream in(o.statePath, std::ios::binary);
        if (!in) return failStart(kProgram, "cannot read " + o.statePath);
        std::ostringstream text;
        text << in.rdbuf();
        if (auto why = loadState(text.str(), line, nowMs)) return failStart(kProgram, o.statePath + ": " + *why);
    }

    std::string panels = "panels";
    for (const auto &entry : line.panels())
        panels += " " + std::to_string(entry.first) + ":" + std::to_string(unsigned(entry.second.panel.format()));
    return runSimulator(kProgram, o, panels, [&line](SimServer &server) {
        return std::make_unique<PanelResponder>(line, hooksOf(server));
    });
}
