#pragma once
// The fixed packets of the controller's own line F that the driver sends or expects whole.
#include <string_view>

namespace lintra::nx::packets {

inline constexpr std::string_view kReset = "T0LFS109D00";
inline constexpr std::string_view kAskFirmware = "T0LFG109D00";  // also the keep-alive question
inline constexpr std::string_view kAskConfig = "T0LFG101D00";
inline constexpr std::string_view kSetConfig = "T0LFS101D10";    // + 16 configuration characters
inline constexpr std::string_view kConfigAnswer = "T1LFA101D10";  // + 16 configuration characters
inline constexpr std::string_view kPassword = "T0LFS10CD10";     // + 16 password characters
inline constexpr std::string_view kPasswordRequired = "T1LFE107D00";
inline constexpr std::string_view kPasswordAccepted = "T1LFA10CD00";
inline constexpr std::string_view kAskSerial = "T0LFG108D00";

}  // namespace lintra::nx::packets
