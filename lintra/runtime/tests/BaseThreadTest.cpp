#include "lintra/runtime/BaseThread.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "LogFixture.h"
#include "lintra/runtime/CommonProc.h"
#include "lintra/runtime/IPC.h"

namespace lintra {
namespace {

// Runs until terminated, counting its passes.
class TLoopThread : public TBaseThread {
public:
    TLoopThread() : TBaseThread("TLoopThread") {}
    ~TLoopThread() override {
        Terminate();
        wake.SetEvent();
        Stop();
    }
    std::atomic<int> passes{0};
    TIPCEvent firstPass;
    TIPCEvent wake;

protected:
    void Execute() override {
        while (!Terminated()) {
            if (passes++ == 0) firstPass.SetEvent();
            wake.WaitFor(TIPCObject::kInfinite);
        }
    }
};

class BaseThreadTest : public runtime_test::IsolatedTest {
protected:
    ~BaseThreadTest() override { CommonProcUnload(); }
};

TEST_F(BaseThreadTest, BodyRunsOnlyAfterStartAndEndsOnStop) {
    const int before = TBaseThread::Total();
    {
        TLoopThread never;
        EXPECT_EQ(TBaseThread::Total(), before + 1);
        EXPECT_NE(never.ThreadId(), 0u);
    }
    TLoopThread thread;
    thread.Start();
    EXPECT_TRUE(thread.firstPass.WaitFor(TIPCObject::kInfinite));
    thread.Terminate();
    thread.wake.SetEvent();
    thread.Stop();
    EXPECT_GE(thread.passes.load(), 1);
    EXPECT_EQ(TBaseThread::Total(), before + 1);  // the object lives until destroyed
}

TEST_F(BaseThreadTest, CreationAndEndAreLoggedWithTheCount) {
    runtime_test::SetDword(runtime_test::kLoggingRoot, "MaxLevel", 5);
    runtime_test::SetDword("Software\\Tessel\\Lintra\\Logging", "Line0", 5);
    CommonProcLoad();
    uint32_t id = 0;
    int total = 0;
    {
        TLoopThread thread;
        id = thread.ThreadId();
        total = TBaseThread::Total();
    }
    CommonProcUnload();
    char created[128], destroyed[128];
    std::snprintf(created, sizeof created, "TBaseThread created Class=TLoopThread, ID=%X, Total=%d", id, total);
    std::snprintf(destroyed, sizeof destroyed, "TBaseThread destroyed Clas=TLoopThread, ID=%X, Total=%d", id,
                  total - 1);
    std::vector<std::string> texts = runtime_test::RecordTexts(Read("lintra.log"));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], created);
    EXPECT_EQ(texts[2], destroyed);
}

}  // namespace
}  // namespace lintra
