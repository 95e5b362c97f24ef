// A second process for the shared-object tests. It attaches to the IPC set of the namespace in
// its environment, does one thing and reports on stdout, one line per step:
//   report               "first=<0|1> data=<text at slot 0> map=<hex of the controller map>"
//   write-data TEXT      writes TEXT at the start of the global data, then "done"
//   hold-mutex           locks the global mutex, "locked", then waits to be killed
//   wait-event LINE MS   "waiting", then "woken" (exit 0) or "timeout" (exit 1) on LINE's ready event
//   stay-attached TEXT   writes TEXT, signals the ready event of line 3, "attached", then waits to be killed
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lintra/host/IpcSet.h"

using lintra::host::IpcSet;

namespace {

void say(const std::string &line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void writeText(IpcSet &set, const char *text) {
    std::strncpy(static_cast<char *>(set.globalData().data()), text, IpcSet::kGlobalDataSize - 1);
}

std::string hex(const void *data, size_t size) {
    std::string text;
    char digits[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<const unsigned char *>(data)[i]);
        text += digits;
    }
    return text;
}

[[noreturn]] void waitToBeKilled() {
    for (;;) pause();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    const std::string command = argv[1];
    int error = 0;
    auto set = IpcSet::attach(nullptr, &error);
    if (!set) {
        say("attach failed " + std::to_string(error));
        return 3;
    }
    if (command == "report") {
        const char *data = static_cast<const char *>(set->globalData().data());
        say(std::string("first=") + (set->first() ? "1" : "0") + " data=" + std::string(data, strnlen(data, 64)) +
            " map=" + hex(set->controllerMap().data(), 6));
    } else if (command == "write-data" && argc == 3) {
        writeText(*set, argv[2]);
        say("done");
    } else if (command == "hold-mutex") {
        auto locked = set->globalMutex().lock(lintra::host::NamedMutex::kInfinite);
        say(locked == lintra::host::LockResult::Acquired ? "locked" : "lock failed");
        waitToBeKilled();
    } else if (command == "wait-event" && argc == 4) {
        auto event = IpcSet::readyEvent(static_cast<uint8_t>(std::atoi(argv[2])), &error);
        if (!event) return 3;
        say("waiting");
        bool woken = event->wait(static_cast<uint32_t>(std::atoi(argv[3])));
        say(woken ? "woken" : "timeout");
        return woken ? 0 : 1;
    } else if (command == "stay-attached" && argc == 3) {
        writeText(*set, argv[2]);
        auto event = IpcSet::readyEvent(3, &error);
        if (!event || !event->set()) return 3;
        say("attached");
        waitToBeKilled();
    } else {
        return 2;
    }
    return 0;
}
