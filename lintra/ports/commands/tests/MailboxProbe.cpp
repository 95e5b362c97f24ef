// A process of the mailbox race, attached to the shared objects of the IPC namespace in its
// environment:
//   post COUNT TAKERS   posts the scripted commands 1..COUNT to the race's line and then a stop
//                       for each taker, each once the mailbox is empty, as the program that
//                       fills it does; opens and closes a line beside every post; "posted"
//                       once the last is taken, "stuck" when one is not taken within 10 s
//   take                takes the line's commands until a stop, then says each, one line each,
//                       and "stopped"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "lintra/ports/commands/tests/MailboxScript.h"
#include "lintra/ports/lines/SharedObjects.h"

using namespace lintra;

namespace {

void say(const std::string &text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

bool waitUntilEmpty() {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (SharedObjects::MailboxTarget() != ControllerMailbox::kEmpty) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::yield();
    }
    return true;
}

// The target last: a taker that sees it finds the whole command.
void post(const MailboxCommand &command) {
    ControllerMailbox &box = SharedObjects::Controllers()->mailbox;
    box.address = command.address;
    box.command = command.command;
    box.paramCount = static_cast<uint16_t>(command.params.size());
    std::copy(command.params.begin(), command.params.end(), box.params);
    SharedObjects::ExchangeMailboxTarget(ControllerMailbox::kEmpty, test::kMailboxLine);
}

int postAll(int count, int takers) {
    MailboxCommand stop;
    stop.command = test::kStopCommand;
    for (int k = 1; k <= count + takers; ++k) {
        SharedObjects::IncrementOpenLineCount();
        const bool empty = waitUntilEmpty();
        SharedObjects::DecrementOpenLineCount();
        if (!empty) break;
        post(k <= count ? test::scriptedCommand(k) : stop);
    }
    const bool taken = waitUntilEmpty();
    say(taken ? "posted" : "stuck");
    return taken ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2 || !SharedObjects::Load()) return 2;
    const std::string command = argv[1];
    int status = 2;
    if (command == "post" && argc == 4) {
        status = postAll(std::atoi(argv[2]), std::atoi(argv[3]));
    } else if (command == "take") {
        // Reported only at the end: a pipe the test does not read yet must not stall the race.
        std::vector<std::string> taken;
        const std::atomic<bool> never{false};
        test::takeUntilStop(never, [&](const std::string &command) { taken.push_back(command); });
        for (const std::string &command : taken) say(command);
        say("stopped");
        status = 0;
    }
    SharedObjects::Unload();
    return status;
}
