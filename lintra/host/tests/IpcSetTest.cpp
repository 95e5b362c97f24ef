#include "lintra/host/IpcSet.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "ChildProcess.h"
#include "lintra/host/IpcName.h"
#include "testsupport/TempDir.h"

using lintra::host::IpcSet;
using lintra::host::LockResult;
using lintra::host::NamedEvent;

namespace {

// The creator's initialisation of the controller map: the mailbox target (offset 2) is -1.
bool emptyMailbox(void *data, size_t) {
    std::memset(static_cast<char *>(data) + 2, 0xFF, 4);
    return true;
}

std::unique_ptr<IpcSet> attach() {
    int error = -1;
    auto set = IpcSet::attach(emptyMailbox, &error);
    EXPECT_NE(set, nullptr) << "errno " << error;
    return set;
}

void writeText(IpcSet &set, const char *text) { std::strcpy(static_cast<char *>(set.globalData().data()), text); }
std::string readText(IpcSet &set) { return static_cast<const char *>(set.globalData().data()); }

bool shmExists(const std::string &base) {
    int fd = shm_open(lintra::host::ipcObjectName(base).c_str(), O_RDONLY, 0);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

class IpcSetAcrossProcesses : public ::testing::Test {
protected:
    ChildProcess probe(const std::vector<std::string> &args, const std::vector<std::pair<std::string, std::string>> &env = {}) {
        return ChildProcess(LINTRA_IPC_PROBE, args, env);
    }
    testsupport::IsolatedHost host_;
};

TEST_F(IpcSetAcrossProcesses, TheFirstCreatesAndInitialisesTheOthersSeeItsData) {
    auto set = attach();
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->first());
    writeText(*set, "from-parent");

    auto report = probe({"report"});
    EXPECT_EQ(report.readLine(), "first=0 data=from-parent map=0000FFFFFFFF") << "initialised once, by the creator";
    EXPECT_EQ(report.wait(), 0);

    auto writer = probe({"write-data", "from-child"});
    EXPECT_EQ(writer.readLine(), "done");
    EXPECT_EQ(writer.wait(), 0);
    EXPECT_EQ(readText(*set), "from-child");
}

TEST_F(IpcSetAcrossProcesses, AHolderKilledInsideTheMutexDoesNotWedgeIt) {
    auto set = attach();
    ASSERT_TRUE(set);
    auto holder = probe({"hold-mutex"});
    ASSERT_EQ(holder.readLine(), "locked");
    EXPECT_EQ(set->globalMutex().lock(0), LockResult::TimedOut);

    holder.kill();
    EXPECT_EQ(holder.wait(), 128 + SIGKILL);
    ASSERT_EQ(set->globalMutex().lock(5000), LockResult::Recovered);
    EXPECT_TRUE(set->globalMutex().unlock());
    ASSERT_EQ(set->globalMutex().lock(0), LockResult::Acquired);
    EXPECT_TRUE(set->globalMutex().unlock());
}

TEST_F(IpcSetAcrossProcesses, OneSetWakesExactlyOneOfTwoWaiters) {
    auto set = attach();
    ASSERT_TRUE(set);
    auto event = IpcSet::readyEvent(7, nullptr);
    ASSERT_TRUE(event);
    auto first = probe({"wait-event", "7", "3000"});
    auto second = probe({"wait-event", "7", "3000"});
    ASSERT_EQ(first.readLine(), "waiting");
    ASSERT_EQ(second.readLine(), "waiting");
    ASSERT_TRUE(event->set());
    int woken = (first.wait() == 0) + (second.wait() == 0);
    EXPECT_EQ(woken, 1);
}

TEST_F(IpcSetAcrossProcesses, AFreshAttachAfterACrashStartsClean) {
    {
        auto crashed = probe({"stay-attached", "stale"});
        ASSERT_EQ(crashed.readLine(), "attached");
        crashed.kill();
        crashed.wait();
    }
    EXPECT_TRUE(shmExists("LintraGlobalData")) << "a killed process cannot clean up";
    auto set = attach();
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->first());
    EXPECT_EQ(readText(*set), "");
    auto ready = IpcSet::readyEvent(3, nullptr);
    ASSERT_TRUE(ready);
    EXPECT_TRUE(ready->created());
    EXPECT_FALSE(ready->wait(0)) << "the event the crashed process signalled was made afresh";
}

TEST_F(IpcSetAcrossProcesses, TheLastToDetachRemovesEverything) {
    auto set = attach();
    ASSERT_TRUE(set);
    auto event = IpcSet::dataEvent(0x0A, nullptr);
    ASSERT_TRUE(event);
    EXPECT_TRUE(shmExists("LintraDataEvent0A"));
    auto second = attach();
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->first());
    second.reset();
    EXPECT_TRUE(shmExists("LintraGlobalMutex")) << "one process is still attached";

    event.reset();
    set.reset();
    for (const char *name : {"LintraGlobalData", "LintraGlobalMutex", "contrmemfilemap", "LintraDataEvent0A"})
        EXPECT_FALSE(shmExists(name)) << name;
    const auto lockFiles = lintra::host::ipcLockDirectory() / ("LintraIpc." + lintra::host::ipcNamespace());
    EXPECT_FALSE(std::filesystem::exists(lockFiles.string() + ".lock"));
    EXPECT_FALSE(std::filesystem::exists(lockFiles.string() + ".gate"));
}

TEST_F(IpcSetAcrossProcesses, DifferentNamespacesNeverShare) {
    auto set = attach();
    ASSERT_TRUE(set);
    writeText(*set, "namespace-a");
    auto other = probe({"report"}, {{"LINTRA_IPC_NAMESPACE", lintra::host::ipcNamespace() + "-other"}});
    EXPECT_EQ(other.readLine(), "first=1 data= map=000000000000");
    EXPECT_EQ(other.wait(), 0);
}

TEST(NamedEventInOneProcess, IsAutoResetAndStartsAsCreated) {
    testsupport::IsolatedHost host;
    auto set = attach();
    ASSERT_TRUE(set);
    auto data = IpcSet::dataEvent(1, nullptr);
    auto ready = IpcSet::readyEvent(1, nullptr);
    ASSERT_TRUE(data && ready);
    EXPECT_TRUE(data->wait(0)) << "data events are created signalled";
    EXPECT_FALSE(data->wait(0)) << "and reset by the wait that saw them";
    EXPECT_FALSE(ready->wait(0));
    ASSERT_TRUE(ready->set());
    auto again = IpcSet::readyEvent(1, nullptr);
    EXPECT_FALSE(again->created());
    EXPECT_TRUE(again->wait(0)) << "another opener sees the same event";
    EXPECT_FALSE(ready->wait(0));
}

TEST(NamedEventInOneProcess, HandlesAreHonouredOnlyWhileTheEventLives) {
    testsupport::IsolatedHost host;
    auto set = attach();
    auto event = IpcSet::readyEvent(2, nullptr);
    ASSERT_TRUE(event);
    const intptr_t handle = event->handle();
    EXPECT_EQ(NamedEvent::fromHandle(handle), event);
    EXPECT_EQ(NamedEvent::fromHandle(handle + 8), nullptr);
    EXPECT_EQ(NamedEvent::fromHandle(0x12345), nullptr);
    event.reset();
    EXPECT_EQ(NamedEvent::fromHandle(handle), nullptr);
}

TEST(SharedSection, RefusesAnExistingSectionTooSmallForTheCaller) {
    testsupport::IsolatedHost host;
    int error = 0;
    auto small = lintra::host::SharedSection::createOrOpen("Probe", 16, nullptr, &error);
    ASSERT_TRUE(small);
    EXPECT_EQ(lintra::host::SharedSection::createOrOpen("Probe", 64, nullptr, &error), nullptr);
    EXPECT_EQ(error, EINVAL);
    lintra::host::SharedSection::remove("Probe");
}

TEST(SharedSection, AFailedInitialisationIsNeverPublished) {
    testsupport::IsolatedHost host;
    int error = 0;
    auto refuse = [](void *, size_t) { return false; };
    EXPECT_EQ(lintra::host::SharedSection::createOrOpen("Probe", 16, refuse, &error), nullptr);
    EXPECT_EQ(error, ENOTSUP);
    EXPECT_FALSE(shmExists("Probe"));
    auto next = lintra::host::SharedSection::createOrOpen("Probe", 16, nullptr, &error);
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->created());
    lintra::host::SharedSection::remove("Probe");
}

}  // namespace
