// Replacing a file whole: the mode it keeps, and what a replacement that fails leaves.
#include "platform/LockedFile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/TempDir.h"

namespace {

mode_t modeOf(const std::filesystem::path &file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return st.st_mode & 07777;
}

TEST(LockedFile, AReplacedFileKeepsItsModeAndANewOneGetsTheGivenMode) {
    testsupport::TempDir dir;
    const auto kept = dir.write("kept", "old");
    std::filesystem::permissions(kept, std::filesystem::perms(0640));
    const auto fresh = dir / "fresh";
    {
        const tessel::FileLock lock = tessel::FileLock::exclusive(kept, 0600);
        ASSERT_TRUE(lock.held());
        ASSERT_TRUE(tessel::replaceFile(kept, "new", 0604));
    }
    ASSERT_TRUE(tessel::replaceFile(fresh, "new", 0604));
    EXPECT_EQ(dir.read("kept"), "new");
    EXPECT_EQ(modeOf(kept), 0640u);
    EXPECT_EQ(modeOf(fresh), 0604u);
    EXPECT_EQ(modeOf(dir / "kept.lock"), 0600u);
}

TEST(LockedFile, AFailedReplacementLeavesWhatWasThereAndNoTemporary) {
    testsupport::TempDir dir;
    // A directory in the file's place: the rename fails, for root too. (A write cut short
    // is tested with reqst.dat, in a process of its own under a file size limit.)
    dir.write("state/inside", "kept");
    EXPECT_FALSE(tessel::replaceFile(dir / "state", "new", 0644));
    EXPECT_EQ(dir.read("state/inside"), "kept");
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "state");
}

}  // namespace
