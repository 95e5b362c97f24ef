#pragma once
// The texts of the operation indicator.
#include <string>
#include <string_view>

namespace zaltor::shell {

inline constexpr std::string_view kIdleStatus = "----------";
inline constexpr size_t kTipCharacters = 63;

// The status line: text + " " + number + ".".
std::string progressLine(int number, std::string_view text);

// The notification-icon tip: the first 63 characters of a UTF-8 text, never cutting one in two.
std::string indicatorTip(std::string_view text);

}  // namespace zaltor::shell
