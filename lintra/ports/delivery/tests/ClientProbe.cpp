// A client program of liblintra.so for the tests and benchmarks that need real processes:
//   open LINE PORT ADDR   StartPanel with Wnd = 0 and message polling on; "started N" and
//                         "polling R", then waits to be killed
//   collect LINE COUNT    collects the line's records through the shared slots until COUNT
//                         panel messages of kind 3 came: "ready" once resumed, then per
//                         message "msg P1 NS" (its first parameter and the CLOCK_MONOTONIC
//                         nanoseconds of collection), then "done"; "timeout" after 10 s of silence
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "lintra/include/lintra.h"

namespace {

constexpr uint32_t kSilenceMs = 10000;
constexpr uint16_t kStoredMessage = 0x57;
constexpr uint8_t kKindWithParameters = 3;

long long monotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

int open(int line, const char *port, int address) {
    std::printf("started %d\n", StartPanel(line, port, 0, static_cast<uint16_t>(address)));
    std::printf("polling %d\n", LCBCommand(static_cast<uint16_t>(line), 6, 0, nullptr));
    std::fflush(stdout);
    for (;;) pause();
}

int collect(int line, int count) {
    const intptr_t event = GetEvent(line);
    if (!event) return 3;
    LintraWaitEvent(event, 0);  // the signal the event is created with
    ResumeLine(line);
    std::printf("ready\n");
    std::fflush(stdout);
    LintraEventRecord record;
    for (int seen = 0; seen < count;) {
        if (!LintraWaitEvent(event, kSilenceMs)) {
            std::printf("timeout\n");
            return 1;
        }
        if (!GetLineMessage(line, &record, true)) continue;
        if (record.line != line || record.code != kStoredMessage || record.data[0] != kKindWithParameters) continue;
        std::printf("msg %d %lld\n", record.data[1], monotonicNs());
        std::fflush(stdout);
        ++seen;
    }
    std::printf("done\n");
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "open" && argc == 5) return open(std::atoi(argv[2]), argv[3], std::atoi(argv[4]));
    if (command == "collect" && argc == 4) return collect(std::atoi(argv[2]), std::atoi(argv[3]));
    return 2;
}
