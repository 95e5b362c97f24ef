#pragma once
// The panel's version string as display text.
#include <cstdint>
#include <span>
#include <string>

namespace zaltor::console {

// Printable bytes stand as themselves (the upper half is Windows Cyrillic, converted to UTF-8);
// a control byte below 32 becomes the four characters \x and its two hex digits.
std::string versionText(std::span<const uint8_t> bytes);

}  // namespace zaltor::console
