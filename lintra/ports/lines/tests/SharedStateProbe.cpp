// A second process for the tests of what processes share: reqst.dat in the current directory
// and the open-line count in the IPC namespace of its environment. It reports on stdout:
//   save FIRST COUNT          COUNT saves of reqst.dat, the k-th with every line's number
//                             FIRST + k; "saved", or "failed" at the first that fails
//   save-capped VALUE BYTES   one save with every number VALUE while files may grow to BYTES
//                             only; "saved" or "failed"
//   churn-lines COUNT UNTIL   churnOpenLineCount(COUNT, UNTIL) on the shared open-line
//                             count, then "done"
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lintra/ports/lines/ReqstFile.h"
#include "lintra/ports/lines/tests/SharedStateSteps.h"

using namespace lintra;

namespace {

int say(const char *text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) return 2;
    const std::string command = argv[1];
    const int value = std::atoi(argv[2]);
    if (command == "save" && argc == 4) {
        for (int k = 0; k < std::atoi(argv[3]); ++k) {
            test::setEveryMsgNumber(static_cast<uint16_t>(value + k));
            if (!SaveLineState()) return say("failed");
        }
        return say("saved");
    }
    if (command == "save-capped" && argc == 4) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of killing
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = std::strtoul(argv[3], nullptr, 10);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
        test::setEveryMsgNumber(static_cast<uint16_t>(value));
        return say(SaveLineState() ? "saved" : "failed");
    }
    if (command == "churn-lines" && argc == 4) {
        if (!SharedObjects::Load()) return 3;
        test::churnOpenLineCount(value, std::atoi(argv[3]));
        SharedObjects::Unload();
        return say("done");
    }
    return 2;
}
