// The library's unload ends every driver with its thread and its lines, a pass in progress first.
#include <gtest/gtest.h>

#include <thread>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/tests/DriverFixture.h"
#include "lintra/nx/DriverApi.h"

namespace lintra::nx::test {
namespace {

using UnloadTest = DriverFixture;

TEST_F(UnloadTest, UnloadDestroysEveryDriverWithItsLines) {
    const int32_t running = NewDriver();
    const int32_t held = NewDriver();
    NewLine(running);
    NewLine(held);
    DriverCommand(running, CD_Start, 0, 0);
    ASSERT_TRUE(StartHeld(held));
    std::thread releaser([driver = Driver(held)] { driver->Release(); });

    DestroyAllDrivers();  // waits for the held pass
    releaser.join();
    EXPECT_EQ(DriverCount(), 0);
    EXPECT_EQ(LineCount(), 0);
    EXPECT_EQ(FakeLine::alive.load(), 0);
}

}  // namespace
}  // namespace lintra::nx::test
