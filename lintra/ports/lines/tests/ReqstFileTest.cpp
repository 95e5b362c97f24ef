// reqst.dat as processes share it: saves from several at once while another reads, and a save
// that fails.
#include "lintra/ports/lines/ReqstFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "lintra/host/tests/ChildProcess.h"
#include "lintra/ports/lines/tests/SharedStateSteps.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

uint16_t wordAt(const std::string &bytes, size_t offset) {
    return static_cast<uint16_t>(uint8_t(bytes[offset]) | uint8_t(bytes[offset + 1]) << 8);
}

std::string readFile() {
    std::ifstream file(kReqstFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// "" when the bytes are one whole save that gave every line one number (as the probes do).
std::string notOneSave(const std::string &bytes) {
    if (bytes.size() != kReqstFileSize) return "size " + std::to_string(bytes.size());
    for (size_t at = 0; at < 8704; ++at)
        if (bytes[at] != 0) return "byte " + std::to_string(at) + " set";
    const uint16_t number = wordAt(bytes, kReqstMsgNumberOffset);
    for (size_t line = 0; line < kLineCount; ++line) {
        if (wordAt(bytes, 8704 + 2 * line) != 250) return "unit limit of line " + std::to_string(line);
        if (wordAt(bytes, kReqstMsgNumberOffset + 2 * line) != number) return "numbers of two saves";
        if (wordAt(bytes, 9728 + 2 * line) != 1) return "speed mode of line " + std::to_string(line);
    }
    return number == 0 ? "number 0" : "";
}

// "" when the loaded table gave every line one number other than 0 (a short file gives 0).
std::string notOneLoad() {
    LoadLineState();
    const uint16_t number = LineState::MsgNumber(0);
    for (int line = 1; line < kLineCount; ++line)
        if (LineState::MsgNumber(line) != number) return "numbers of two saves";
    return number == 0 ? "nothing loaded" : "";
}

void saveEveryNumber(uint16_t number) {
    test::setEveryMsgNumber(number);
    ASSERT_TRUE(SaveLineState());
}

struct ReqstFileTest : ::testing::Test {
    testsupport::IsolatedHost host;
    ChildProcess probe(const std::vector<std::string> &args) { return ChildProcess(LINTRA_SHARED_STATE_PROBE, args); }
};

TEST_F(ReqstFileTest, ReadersSeeOneWholeSaveWhileTwoProcessesSave) {
    saveEveryNumber(20000);
    ChildProcess first = probe({"save", "1", "100"});
    ChildProcess second = probe({"save", "30001", "100"});
    std::atomic<bool> saved{false};
    std::optional<std::string> said[2];
    std::thread waiter([&] {
        said[0] = first.readLine();
        said[1] = second.readLine();
        saved = true;
    });
    int reads = 0;
    while (!saved) {
        const std::string raw = notOneSave(readFile()), loaded = notOneLoad();
        ++reads;
        if (!raw.empty() || !loaded.empty()) {
            ADD_FAILURE() << "read " << reads << ": file: " << raw << "; load: " << loaded;
            break;
        }
    }
    waiter.join();
    EXPECT_EQ(said[0], "saved");
    EXPECT_EQ(said[1], "saved");
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);
    EXPECT_EQ(notOneSave(readFile()), "");
}

TEST_F(ReqstFileTest, AFailedSaveLeavesTheOldFile) {
    saveEveryNumber(5);
    const std::string before = readFile();
    ChildProcess capped = probe({"save-capped", "9", "4096"});  // the file needs 10240
    EXPECT_EQ(capped.readLine(), "failed");
    EXPECT_EQ(capped.wait(), 0);
    EXPECT_TRUE(readFile() == before) << "the old file changed";
    for (const auto &entry : std::filesystem::directory_iterator("."))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".reqst.dat")) << entry.path();
}

}  // namespace
}  // namespace lintra
