#include "lintra/ports/lines/ReqstFile.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <mutex>

#include "lintra/ports/lines/com_unit.h"

namespace lintra {

namespace {

constexpr size_t kBlock = 2 * kLineCount;
constexpr size_t kUnitLimitOffset = 8704;
constexpr size_t kSpeedModeOffset = 9728;
static_assert(kSpeedModeOffset + kBlock == kReqstFileSize);
static_assert(kReqstMsgNumberOffset + kBlock == kSpeedModeOffset);

void putBlock(std::array<uint8_t, kReqstFileSize> &bytes, size_t offset, uint16_t (*value)(int line)) {
    for (int line = 0; line < kLineCount; ++line) {
        const uint16_t v = value(line);
        bytes[offset + 2 * line] = static_cast<uint8_t>(v);
        bytes[offset + 2 * line + 1] = static_cast<uint8_t>(v >> 8);
    }
}

}  // namespace

bool SaveLineState() {
    // The polling threads of several ports save on their own schedules; one writer at a time.
    static std::mutex writing;
    std::lock_guard lock(writing);
    std::array<uint8_t, kReqstFileSize> bytes{};
    putBlock(bytes, kUnitLimitOffset, [](int) { return LineState::kDefaultUnitLimit; });
    putBlock(bytes, kReqstMsgNumberOffset, LineState::MsgNumber);
    putBlock(bytes, kSpeedModeOffset, [](int) { return LineState::kDefaultSpeedMode; });
    std::ofstream file(kReqstFileName, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    file.close();
    return !file.fail();
}

void LoadLineState() {
    std::ifstream file(kReqstFileName, std::ios::binary);
    std::array<uint8_t, kBlock> block{};
    file.seekg(kReqstMsgNumberOffset);
    const bool read = file && file.read(reinterpret_cast<char *>(block.data()), block.size()).gcount() ==
                                  static_cast<std::streamsize>(block.size());
    for (int line = 0; line < kLineCount; ++line)
        LineState::SetMsgNumber(line, read ? static_cast<uint16_t>(block[2 * line] | block[2 * line + 1] << 8) : 0);
}

}  // namespace lintra
