// A client process that puts the line lifecycle of the real liblintra.so to the test, one line
// of each kind named on its command line, each with a callback and polling on:
//   lintra_lifecycle_probe LIBRARY SCENARIO KIND=PORT...
// KIND is panel, lcb, intcom, netcom or netrs; lines are numbered 1, 2, ... in argument order.
// The probe prints "polling" once its lines are open; the test then makes every simulator
// report an event. Scenarios:
//   close-in-callback  each line's callback closes its own line at its first record; the probe
//                      then opens the number again ("reopened KIND COUNT") and closes it.
//   exit               once every line has delivered, main returns with the lines open and busy.
//   unload             the same, but the library is unloaded first.
//   exit-in-callback   the first record's callback calls exit() on the line's own thread.
// Exit status 0 when all went as expected; a sanitizer report or a hang fails the test.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "lintra/ports/lines/tests/LintraApi.h"

namespace {

using lintra::test::LintraApi;

constexpr int kMaxLines = 8;
constexpr int kWaitMs = 30000;  // upper bound for a line to deliver; never a timing assertion

struct Line {
    std::string kind;
    std::string port;
};

LintraApi *api = nullptr;
intptr_t window = 0;
bool closeInCallback = false;
bool exitInCallback = false;
std::atomic<int> delivered[kMaxLines + 1];
std::atomic<bool> closedInCallback[kMaxLines + 1];

intptr_t ignore(void *, uint32_t, uintptr_t, intptr_t) { return 0; }

intptr_t callback(void *record, intptr_t arg) {
    if (!record) return arg == -1 ? window : 0;
    LintraEventRecord r;
    std::memcpy(&r, record, sizeof r);
    if (r.line < 1 || r.line > kMaxLines) return 0;
    if (exitInCallback) std::exit(0);
    if (delivered[r.line]++ == 0 && closeInCallback) {
        api->CloseCom(r.line);
        closedInCallback[r.line] = true;
    }
    return 0;
}

int start(const Line &line, int number) {
    const auto cb = reinterpret_cast<intptr_t>(&callback);
    const char *port = line.port.c_str();
    if (line.kind == "panel") return api->StartPanel(number, port, cb, 5);
    if (line.kind == "netrs") return api->StartNetRS(number, port, cb, 5);
    if (line.kind == "lcb") return api->StartCom(number, port, cb);
    if (line.kind == "intcom") return api->StartIntCom(number, port, cb);
    if (line.kind == "netcom") return api->StartNetCom(number, port, cb);
    return -100;
}

// Polling on; the intelligent kinds poll units 1..3.
void startPolling(const Line &line, int number) {
    if (line.kind == "intcom" || line.kind == "netcom") {
        const uint8_t count = 4;
        api->LCBCommand(number, 3, 1, &count);
        for (uint8_t unit = 1; unit <= 3; ++unit) {
            const uint8_t params[2] = {unit, 0};
            api->LCBCommand(number, 1, 2, params);
        }
    }
    api->LCBCommand(number, 6, 0, nullptr);
}

template <typename Done>
bool waitFor(Done done) {
    for (int ms = 0; ms < kWaitMs; ms += 10) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4) return 2;
    std::vector<Line> lines;
    for (int i = 3; i < argc && static_cast<int>(lines.size()) < kMaxLines; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos) return 2;
        lines.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
    }
    const std::string scenario = argv[2];
    closeInCallback = scenario == "close-in-callback";
    exitInCallback = scenario == "exit-in-callback";
    if (!closeInCallback && !exitInCallback && scenario != "exit" && scenario != "unload") return 2;

    auto *loaded = new LintraApi(argv[1]);  // left loaded at exit unless the scenario unloads it
    api = loaded;
    if (!api->ok() || !api->StartIntCom || !api->StartNetCom || !api->StartNetRS || !api->StartCom) return 3;
    window = api->LintraRegisterWindow(ignore, nullptr);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (start(lines[i], number) < 1) {
            std::printf("cannot start %s\n", lines[i].kind.c_str());
            return 4;
        }
        startPolling(lines[i], number);
    }
    std::printf("polling\n");
    std::fflush(stdout);

    for (size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (!waitFor([&] { return closeInCallback ? closedInCallback[number].load() : delivered[number] > 0; })) {
            std::printf("no record from %s\n", lines[i].kind.c_str());
            return 5;
        }
        if (!closeInCallback) continue;
        // The close runs once the line's step has returned; a start on the number waits for it.
        std::printf("reopened %s %d\n", lines[i].kind.c_str(), start(lines[i], number));
        std::fflush(stdout);
        api->CloseCom(number);
    }
    if (scenario == "unload") delete loaded;
    return 0;
}
