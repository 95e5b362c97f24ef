// The open-line count of every process: opened and closed by two threads or two processes at
// once, it loses no step.
#include <gtest/gtest.h>

#include <thread>

#include "lintra/host/tests/ChildProcess.h"
#include "lintra/ports/lines/tests/SharedStateSteps.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

constexpr int kOpen = 10, kChurns = 1000000, kTogether = kOpen + 2;

// The parameter: the two churners are processes, else threads of this one.
struct OpenLineCountTest : ::testing::TestWithParam<bool> {
    testsupport::IsolatedHost host;
    OpenLineCountTest() { EXPECT_TRUE(SharedObjects::Load()); }
    ~OpenLineCountTest() override { SharedObjects::Unload(); }

    void churnTwiceAtOnce() {
        if (GetParam()) {
            const std::vector<std::string> args{"churn-lines", std::to_string(kChurns), std::to_string(kTogether)};
            ChildProcess first(LINTRA_SHARED_STATE_PROBE, args), second(LINTRA_SHARED_STATE_PROBE, args);
            for (ChildProcess *probe : {&first, &second}) {
                EXPECT_EQ(probe->readLine(), "done");
                EXPECT_EQ(probe->wait(), 0);
            }
        } else {
            std::thread first(test::churnOpenLineCount, kChurns, kTogether);
            std::thread second(test::churnOpenLineCount, kChurns, kTogether);
            first.join();
            second.join();
        }
    }
};

TEST_P(OpenLineCountTest, OpeningsAndClosingsAtOnceLoseNoStep) {
    for (int k = 0; k < kOpen; ++k) SharedObjects::IncrementOpenLineCount();
    churnTwiceAtOnce();
    EXPECT_EQ(SharedObjects::OpenLineCount(), kOpen);
    EXPECT_EQ(SharedObjects::MailboxTarget(), ControllerMailbox::kEmpty) << "the count's neighbour untouched";
    for (int k = 0; k < kOpen + 3; ++k) SharedObjects::DecrementOpenLineCount();
    EXPECT_EQ(SharedObjects::OpenLineCount(), 0) << "closing stops at zero";
}

INSTANTIATE_TEST_SUITE_P(, OpenLineCountTest, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Processes" : "Threads"; });

}  // namespace
}  // namespace lintra
