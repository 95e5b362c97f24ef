// Loads the built liblintra.so in child processes, as client programs do.
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "LogFixture.h"

namespace {

using runtime_test::GetDword;
using runtime_test::KeyExists;
using runtime_test::kLoggingRoot;

// Children wait on the pipe until the parent closes it, then all load at once.
pid_t SpawnLoader(const int (&startPipe)[2], int index) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    close(startPipe[1]);
    char go;
    if (read(startPipe[0], &go, 1) != 0) _exit(3);
    void *library = dlopen(LINTRA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) _exit(1);
    auto key = tessel::RegKey::open(tessel::Hive::CurrentUser, "Software\\Tessel\\Children", true);
    bool wrote = key && key->writeDword("Child" + std::to_string(index), 1);
    dlclose(library);
    _exit(wrote ? 0 : 2);
}

class LibraryLoadTest : public runtime_test::IsolatedTest {};

TEST_F(LibraryLoadTest, ProcessesLoadingAtOnceShareOneStoreWithoutLosingWrites) {
    constexpr int kChildren = 4;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kChildren; ++i) children.push_back(SpawnLoader(start, i));
    close(start[0]);
    close(start[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    for (const char *name : {"MaxLevel", "LimRecs", "LimTime", "MaxFiles", "Rotate"}) {
        EXPECT_TRUE(GetDword(kLoggingRoot, name).has_value()) << name;
    }
    for (const char *key : {"Software\\Tessel\\Lintra\\PortServer", "Software\\Tessel\\Lintra\\Logging",
                            "Software\\Tessel\\Lintra\\Speeds", "Software\\Tessel\\Lintra\\Policy",
                            "Software\\Tessel\\Logging\\lintra.log", "Software\\Tessel\\Logging\\orvel_hotel.log"}) {
        EXPECT_TRUE(KeyExists(key)) << key;
    }
    for (int i = 0; i < kChildren; ++i) {
        EXPECT_EQ(GetDword("Software\\Tessel\\Children", "Child" + std::to_string(i)), 1u) << i;
    }
}

}  // namespace
