#pragma once
// Reply codes of an exchange that carry a meaning for the loader, and the command codes it
// sends outside the configuration sequences.
#include <cstdint>

namespace zaltor::shell {

inline constexpr uint16_t kNoConnectionCode = 101;  // the library heard nothing from the panel
inline constexpr uint16_t kErrorAnswerCode = 3;

// Neither of the two: the panel gave a valid answer.
inline constexpr bool isAnswered(uint16_t replyCode) {
    return replyCode != kNoConnectionCode && replyCode != kErrorAnswerCode;
}

inline constexpr uint16_t kAskLastEvent = 86;
inline constexpr uint16_t kStartPolling = 6;  // LCBCommand
inline constexpr uint16_t kEndPolling = 5;
inline constexpr int32_t kCdStart = 2;  // Driver API commands
inline constexpr int32_t kCdDestroy = 9;

}  // namespace zaltor::shell
