// The five Driver API exports of the real liblintra.so, bound with dlopen in a fresh host.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "lintra/nx/tests/DriverExports.h"
#include "testsupport/TempDir.h"

namespace {

using lintra::nx::test::DriverExports;

TEST(DriverExportsProcessTest, UnknownTypesAndHandlesAnswerTheirRefusal) {
    testsupport::IsolatedHost host;
    DriverExports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();

    for (int32_t type : {3, 0, -1, INT32_MAX}) EXPECT_EQ(api.create(type, "Host=127.0.0.1"), -2) << type;
    for (int32_t handle : {0, 1, 255, 256, -1, INT32_MIN}) {
        EXPECT_EQ(api.doCmd(handle, 10, 0, 0), 0) << handle;
        EXPECT_EQ(api.lineDoCmd(handle, 10, 0, 0), -1) << handle;
        EXPECT_EQ(api.lineCreate(handle, -1, 4, ""), -1) << handle;
    }
    EXPECT_EQ(api.destroyAll(), 0);
    EXPECT_EQ(api.destroyAll(), 0);
    EXPECT_FALSE(std::filesystem::exists(host.dir() / "CommDrv1.log"));
}

// The load reads lintra.ini and creates its drivers, whether or not their controllers answer;
// a line of a type that does not exist yet is skipped and the load goes on.
TEST(DriverExportsProcessTest, ALintraIniCreatesItsDriversAtLoad) {
    testsupport::IsolatedHost host;
    host.dir().write("lintra.ini",
                     "[Common]\nLogLevel=7\n"
                     "[Device Tcp]\nType=1\nHost=127.0.0.1\nPort=1\n"
                     "[Line Panel]\nDevice=Tcp\nType=4\nPort=0\nCom=COM5\n"
                     "[Device Serial]\nType=2\nPort=/dev/no-such-port\n");
    DriverExports api;
    ASSERT_TRUE(api.ok()) << ::dlerror();
    EXPECT_EQ(api.doCmd(1, 10, 0, 0), 1);
    EXPECT_EQ(api.doCmd(2, 10, 0, 0), 1);
    EXPECT_EQ(api.lineDoCmd(1, 10, 0, 0), -1);
    EXPECT_EQ(api.destroyAll(), 0);
    EXPECT_EQ(api.doCmd(1, 10, 0, 0), 0);
}

}  // namespace
