// m50-sim: simulated M50 panels on a pseudo-terminal, a tty device or loopback TCP.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sim/m50sim/ControlSocket.h"
#include "sim/m50sim/LineTransport.h"
#include "sim/m50sim/Options.h"
#include "sim/m50sim/SimServer.h"
#include "sim/m50sim/WireLog.h"
#include "sim/panel/StateFile.h"

namespace {

int fail(const std::string &why) {
    std::fprintf(stderr, "m50-sim: %s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace sim;
    ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) return fail(parsed.error + "\n" + usageText());
    const Options &o = *parsed.options;
    if (o.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }

    // Stop signals wait for the loop's ppoll, so none is lost between two polls.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    uint64_t nowMs = SimServer::nowUs() / 1000;
    PanelLine line;
    for (const PanelSpec &p : o.panels) line.add(Panel(p.address, p.format, localNow(), nowMs, o.ring));
    if (!o.statePath.empty()) {
        std::ifstream in(o.statePath, std::ios::binary);
        if (!in) return fail("cannot read " + o.statePath);
        std::ostringstream text;
        text << in.rdbuf();
        if (auto why = loadState(text.str(), line, nowMs)) return fail(o.statePath + ": " + *why);
    }

    WireLog log;
    if (!log.open(o.logPath)) return fail("cannot open the log " + o.logPath);
    std::string error;
    std::unique_ptr<LineTransport> transport = LineTransport::open(o, error);
    if (!transport) return fail(error);
    ControlSocket control;
    if (!o.controlPath.empty() && !control.listen(o.controlPath, error)) return fail(error);

    std::string panels;
    for (const auto &entry : line.panels())
        panels += " " + std::to_string(entry.first) + ":" + std::to_string(unsigned(entry.second.panel.format()));
    log.note("serving " + transport->readyText() + ", panels" + panels);
    std::printf("ready %s\n", transport->readyText().c_str());
    std::fflush(stdout);

    SimServer(line, *transport, control, log, o.pace, o.pad).run();
    log.note("stopped");
    return 0;
}
