#include "sim/serve/SimMain.h"

#include <signal.h>

#include <cstdio>

namespace sim {

int failStart(const char *program, const std::string &why) {
    std::fprintf(stderr, "%s: %s\n", program, why.c_str());
    return 1;
}

ControlHooks hooksOf(SimServer &server) {
    return ControlHooks{[&server](bool on) { server.setPace(on); }, [&server] { server.quit(); },
                        [&server] { server.hangUp(); }};
}

int runSimulator(const char *program, const ServeOptions &o, const std::string &what,
                 const std::function<std::unique_ptr<LineResponder>(SimServer &)> &makeResponder) {
    // Stop signals wait for the loop's ppoll, so none is lost between two polls.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    WireLog log;
    if (!log.open(o.logPath)) return failStart(program, "cannot open the log " + o.logPath);
    std::string error;
    std::unique_ptr<LineTransport> transport = LineTransport::open(o, error);
    if (!transport) return failStart(program, error);
    ControlSocket control;
    if (!o.controlPath.empty() && !control.listen(o.controlPath, error)) return failStart(program, error);

    log.note("serving " + transport->readyText() + ", " + what);
    std::printf("ready %s\n", transport->readyText().c_str());
    std::fflush(stdout);

    SimServer server(*transport, control, log, o.pace, o.pad);
    std::unique_ptr<LineResponder> responder = makeResponder(server);
    server.run(*responder);
    log.note("stopped");
    return 0;
}

}  // namespace sim
