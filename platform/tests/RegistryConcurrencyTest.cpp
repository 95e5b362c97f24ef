#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "platform/Registry.h"
#include "testsupport/TempDir.h"

using tessel::Hive;
using tessel::RegKey;

namespace {

constexpr int kWriters = 2, kValues = 200;
constexpr const char *kKey = "Software\\Tessel\\Race";

std::string valueName(int writer, int i) {
    return "W" + std::to_string(writer) + "_" + std::to_string(i);
}

bool writeAll(int writer) {
    auto key = RegKey::open(Hive::CurrentUser, kKey, true);
    bool ok = key.has_value();
    for (int i = 0; ok && i < kValues; ++i)
        ok = key->writeDword(valueName(writer, i), static_cast<uint32_t>(writer * 1000 + i));
    return ok;
}

void expectEveryValueOnce(const testsupport::IsolatedHost &host) {
    auto key = RegKey::open(Hive::CurrentUser, kKey, false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->valueNames().size(), static_cast<size_t>(kWriters * kValues));
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kValues; ++i)
            EXPECT_EQ(key->readDword(valueName(w, i)), static_cast<uint32_t>(w * 1000 + i));
    // Every line is whole: a header, a value, the signature or a blank.
    std::istringstream text(host.dir().read("user.reg"));
    int valueLines = 0;
    for (std::string line; std::getline(text, line);) {
        if (line.starts_with("\"W")) {
            ++valueLines;
            EXPECT_NE(line.find("=dword:"), std::string::npos) << line;
        } else {
            EXPECT_TRUE(line.empty() || line == "REGEDIT4" || line.starts_with("[Software"))
                << line;
        }
    }
    EXPECT_EQ(valueLines, kWriters * kValues);
}

TEST(RegistryConcurrency, TwoProcessesWritingAtOnceLoseNothing) {
    testsupport::IsolatedHost host;
    pid_t pids[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        pids[w] = fork();
        ASSERT_GE(pids[w], 0);
        if (pids[w] == 0) _exit(writeAll(w) ? 0 : 1);
    }
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    expectEveryValueOnce(host);
}

TEST(RegistryConcurrency, TwoThreadsWritingAtOnceLoseNothing) {
    testsupport::IsolatedHost host;
    bool ok[kWriters] = {};
    std::thread threads[kWriters];
    for (int w = 0; w < kWriters; ++w) threads[w] = std::thread([&ok, w] { ok[w] = writeAll(w); });
    for (auto &t : threads) t.join();
    for (bool o : ok) EXPECT_TRUE(o);
    expectEveryValueOnce(host);
}

}  // namespace
