#include "lintra/runtime/IPC.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

namespace lintra {
namespace {

TEST(IPCEvent, AutoResetWakesOnceManualResetStaysSet) {
    TIPCEvent automatic;
    EXPECT_FALSE(automatic.WaitFor(0));
    EXPECT_EQ(automatic.LastWaitResult(), TIPCObject::WaitResult::TimedOut);
    EXPECT_TRUE(automatic.SetEvent());
    EXPECT_TRUE(automatic.WaitFor(0));
    EXPECT_FALSE(automatic.WaitFor(0));

    TIPCEvent manual(true);
    manual.SetEvent();
    EXPECT_TRUE(manual.WaitFor(0));
    EXPECT_TRUE(manual.Wait());
    EXPECT_TRUE(manual.ResetEvent());
    EXPECT_FALSE(manual.WaitFor(0));
}

TEST(IPCEvent, ClosedObjectFailsAtOnce) {
    TIPCEvent event;
    event.Close();
    EXPECT_FALSE(event.Valid());
    EXPECT_FALSE(event.SetEvent());
    EXPECT_EQ(event.LastError(), static_cast<uint32_t>(EBADF));
    EXPECT_FALSE(event.WaitFor(TIPCObject::kInfinite));
    EXPECT_EQ(event.LastError(), 0u);  // a wait clears the error first
    EXPECT_EQ(event.LastWaitResult(), TIPCObject::WaitResult::Failed);
}

TEST(IPCEvent, WakesAWaiterInAnotherThread) {
    TIPCEvent event;
    std::thread setter([&] { event.SetEvent(); });
    EXPECT_TRUE(event.WaitFor(TIPCObject::kInfinite));
    setter.join();
}

TEST(IPCMutex, ReentrantForItsOwnerAndRefusedToOthers) {
    TIPCMutex mutex(true);  // initially owned
    EXPECT_TRUE(mutex.Acquire());
    bool otherGotIt = true;
    bool otherReleased = true;
    uint32_t otherError = 0;
    std::thread other([&] {
        otherGotIt = mutex.WaitFor(10);
        otherReleased = mutex.Release();
        otherError = mutex.LastError();
    });
    other.join();
    EXPECT_FALSE(otherGotIt);
    EXPECT_FALSE(otherReleased);
    EXPECT_EQ(otherError, static_cast<uint32_t>(EPERM));
    EXPECT_TRUE(mutex.Release());
    EXPECT_TRUE(mutex.Release());
    std::thread after([&] {
        otherGotIt = mutex.WaitFor(TIPCObject::kInfinite);
        mutex.Release();
    });
    after.join();
    EXPECT_TRUE(otherGotIt);
}

}  // namespace
}  // namespace lintra
