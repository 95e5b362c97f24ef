#pragma once
// The Driver API in-process, with the fake driver and line types registered, in a fresh
// current directory (the driver logs land there). Every test leaves both tables empty.
#include <gtest/gtest.h>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/DriverApi.h"
#include "lintra/nx/DriverTables.h"
#include "lintra/nx/tests/FakeDriver.h"
#include "testsupport/TempDir.h"

namespace lintra::nx::test {

class DriverFixture : public ::testing::Test {
protected:
    DriverFixture() {
        FakeDriver::Register();
        FakeLine::Register();
    }
    ~DriverFixture() override {
        DestroyAllDrivers();
        EXPECT_EQ(DriverCount(), 0);
        EXPECT_EQ(LineCount(), 0);
        EXPECT_EQ(FakeLine::alive.load(), 0);
    }

    static int32_t DriverCount() {
        TablesGuard guard;
        return DriverTable().Count();
    }
    static int32_t LineCount() {
        TablesGuard guard;
        return LineTable().Count();
    }
    static FakeDriver *Driver(int32_t handle) {
        TablesGuard guard;
        return dynamic_cast<FakeDriver *>(DriverTable().Find(handle));
    }
    static FakeLine *Line(int32_t handle) {
        TablesGuard guard;
        return dynamic_cast<FakeLine *>(LineTable().Find(handle));
    }
    static int32_t NewDriver(const char *params = "") { return CreateDriver(FakeDriver::kType, params); }
    static int32_t NewLine(int32_t driver, int32_t slot = -1, const char *params = "") {
        return CreateLine(driver, slot, FakeLine::kType, params);
    }
    // Starts the driver with its passes held; true once its thread is inside the first pass.
    static bool StartHeld(int32_t handle) {
        Driver(handle)->HoldPasses();
        DriverCommand(handle, CD_Start, 0, 0);
        return Driver(handle)->WaitInside();
    }

    testsupport::IsolatedHost host_;
};

}  // namespace lintra::nx::test
