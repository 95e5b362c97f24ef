// The export guard: a failure in an export's body becomes its error result and a log line.
#include <gtest/gtest.h>

#include <stdexcept>

#include "lintra/host/ExportGuard.h"
#include "lintra/host/tests/LogCapture.h"

namespace lintra::host {
namespace {

TEST(ExportGuard, AFailureBecomesTheErrorResultAndALogLine) {
    LogCapture log;
    EXPECT_EQ(Guarded("GoodExport", -1, [] { return 3; }), 3);
    EXPECT_EQ(Guarded("StartThing", -4, []() -> int { throw std::runtime_error("no thread"); }), -4);
    EXPECT_EQ(Guarded("OddThing", false, []() -> bool { throw 42; }), false);
    bool ran = false;
    Guarded("VoidThing", [&] {
        ran = true;
        throw std::bad_alloc();
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(log.matching("GoodExport").empty());
    EXPECT_EQ(log.matching("StartThing:: exception: no thread").size(), 1u);
    EXPECT_EQ(log.matching("OddThing:: exception: unknown").size(), 1u);
    EXPECT_EQ(log.matching("VoidThing:: exception: std::bad_alloc").size(), 1u);
}

}  // namespace
}  // namespace lintra::host
