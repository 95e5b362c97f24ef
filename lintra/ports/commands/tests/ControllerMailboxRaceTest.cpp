// The controller mailbox taken by two threads, or two processes, at once while another process
// posts to it: each command is taken exactly once, and whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>

#include "lintra/host/tests/ChildProcess.h"
#include "lintra/ports/commands/tests/MailboxScript.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

constexpr int kCommands = 3000;

ChildProcess probe(const std::vector<std::string> &args) { return ChildProcess(LINTRA_MAILBOX_PROBE, args); }

// The parameter: the two takers are processes, else threads of this one.
struct ControllerMailboxRaceTest : ::testing::TestWithParam<bool> {
    testsupport::IsolatedHost host;
    ControllerMailboxRaceTest() { EXPECT_TRUE(SharedObjects::Load()); }
    ~ControllerMailboxRaceTest() override { SharedObjects::Unload(); }

    // What the two takers took while the poster posted the commands and a stop for each.
    std::vector<std::string> race() {
        std::vector<std::string> taken;
        ChildProcess poster = probe({"post", std::to_string(kCommands), "2"});
        if (GetParam()) {
            ChildProcess first = probe({"take"}), second = probe({"take"});
            EXPECT_EQ(poster.readLine(), "posted");
            for (ChildProcess *taker : {&first, &second}) {
                for (auto line = taker->readLine(); line && *line != "stopped"; line = taker->readLine())
                    taken.push_back(*line);
                EXPECT_EQ(taker->wait(), 0);
            }
        } else {
            std::atomic<bool> quit{false};
            std::mutex takenMutex;
            auto take = [&] {
                test::takeUntilStop(quit, [&](const std::string &command) {
                    std::lock_guard lock(takenMutex);
                    taken.push_back(command);
                });
            };
            std::thread first(take), second(take);
            EXPECT_EQ(poster.readLine(), "posted");
            quit = true;  // only when the poster gave up does a taker still wait
            first.join();
            second.join();
        }
        EXPECT_EQ(poster.wait(), 0);
        return taken;
    }
};

TEST_P(ControllerMailboxRaceTest, EachCommandIsTakenOnceAndWhole) {
    std::map<std::string, int> times;
    for (const std::string &command : race()) ++times[command];
    for (int k = 1; k <= kCommands; ++k) {
        const auto found = times.find(test::describe(test::scriptedCommand(k)));
        EXPECT_TRUE(found != times.end() && found->second == 1)
            << "command " << k << " taken " << (found == times.end() ? 0 : found->second) << " times";
        if (found != times.end()) times.erase(found);
    }
    for (const auto &[command, count] : times) ADD_FAILURE() << "a mix of commands taken: " << command;
    EXPECT_EQ(SharedObjects::MailboxTarget(), ControllerMailbox::kEmpty);
    EXPECT_EQ(SharedObjects::OpenLineCount(), 0) << "the poster's openings and closings beside the takes";
}

INSTANTIATE_TEST_SUITE_P(, ControllerMailboxRaceTest, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Processes" : "Threads"; });

}  // namespace
}  // namespace lintra
