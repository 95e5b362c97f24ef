#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>

#include "platform/Registry.h"
#include "testsupport/TempDir.h"

using tessel::Hive;
using tessel::RegKey;

TEST(RegistryConcurrency, TwoProcessesWritingAtOnceLoseNothing) {
    testsupport::IsolatedHost host;
    constexpr int kWriters = 2, kValues = 200;
    pid_t pids[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        pids[w] = fork();
        ASSERT_GE(pids[w], 0);
        if (pids[w] == 0) {
            auto key = RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Race", true);
            bool ok = key.has_value();
            for (int i = 0; ok && i < kValues; ++i)
                ok = key->writeDword("W" + std::to_string(w) + "_" + std::to_string(i),
                                     static_cast<uint32_t>(w * 1000 + i));
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto key = RegKey::open(Hive::CurrentUser, "Software\\Tessel\\Race", false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->valueNames().size(), static_cast<size_t>(kWriters * kValues));
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kValues; ++i)
            EXPECT_EQ(key->readDword("W" + std::to_string(w) + "_" + std::to_string(i)),
                      static_cast<uint32_t>(w * 1000 + i));
    // Every line is whole: a header, a value, the signature or a blank.
    std::istringstream text(host.dir().read("user.reg"));
    int valueLines = 0;
    for (std::string line; std::getline(text, line);) {
        if (line.starts_with("\"W")) {
            ++valueLines;
            EXPECT_NE(line.find("=dword:"), std::string::npos) << line;
        } else {
            EXPECT_TRUE(line.empty() || line == "REGEDIT4" || line.starts_with("[Software")) << line;
        }
    }
    EXPECT_EQ(valueLines, kWriters * kValues);
}
