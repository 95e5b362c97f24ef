#include "lintra/ports/lines/ReqstFile.h"

#include <cstdint>
#include <string>

#include "lintra/ports/lines/com_unit.h"
#include "platform/LockedFile.h"

namespace lintra {

namespace {

constexpr size_t kBlock = 2 * kLineCount;
constexpr size_t kUnitLimitOffset = 8704;
constexpr size_t kSpeedModeOffset = 9728;
static_assert(kSpeedModeOffset + kBlock == kReqstFileSize);
static_assert(kReqstMsgNumberOffset + kBlock == kSpeedModeOffset);

void putBlock(std::string &bytes, size_t offset, uint16_t (*value)(int line)) {
    for (int line = 0; line < kLineCount; ++line) {
        const uint16_t v = value(line);
        bytes[offset + 2 * line] = static_cast<char>(v);
        bytes[offset + 2 * line + 1] = static_cast<char>(v >> 8);
    }
}

}  // namespace

bool SaveLineState() {
    std::string bytes(kReqstFileSize, '\0');
    putBlock(bytes, kUnitLimitOffset, [](int) { return LineState::kDefaultUnitLimit; });
    putBlock(bytes, kReqstMsgNumberOffset, LineState::MsgNumber);
    putBlock(bytes, kSpeedModeOffset, [](int) { return LineState::kDefaultSpeedMode; });
    // The polling threads of every line in every process save on their own schedules.
    const tessel::FileLock lock = tessel::FileLock::exclusive(kReqstFileName, 0644);
    return lock.held() && tessel::replaceFile(kReqstFileName, bytes, 0644);
}

void LoadLineState() {
    std::string bytes;
    {
        const tessel::FileLock lock = tessel::FileLock::shared(kReqstFileName);
        if (!tessel::readWholeFile(kReqstFileName, bytes)) bytes.clear();
    }
    const bool read = bytes.size() >= kReqstMsgNumberOffset + kBlock;
    for (int line = 0; line < kLineCount; ++line) {
        const size_t at = kReqstMsgNumberOffset + 2 * static_cast<size_t>(line);
        LineState::SetMsgNumber(
            line, read ? static_cast<uint16_t>(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8) : 0);
    }
}

}  // namespace lintra
