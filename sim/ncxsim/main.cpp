// ncx-sim: a simulated NCX network controller on a pseudo-terminal, a tty device or loopback TCP.
#include "sim/ncx/NcxResponder.h"
#include "sim/ncxsim/NcxOptions.h"
#include "sim/serve/SimMain.h"

int main(int argc, char **argv) {
    using namespace sim;
    constexpr const char *kProgram = "ncx-sim";
    auto parsed = parseNcxOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (auto status = endBeforeServing(kProgram, parsed, ncxUsage())) return *status;
    const NcxOptions &o = *parsed.options;
    NcxController controller(o.controller);
    std::string what = "NCX controller, version " + o.controller.versionText +
                       (o.controller.password.empty() ? ", no password" : ", with a password");
    return runSimulator(kProgram, o, what, [&controller](SimServer &server) {
        return std::make_unique<NcxResponder>(controller, server);
    });
}
