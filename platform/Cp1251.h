#pragma once
// Windows Cyrillic (code page 1251) <-> UTF-8. The configuration file and the language files
// are single-byte Windows Cyrillic; our program text is UTF-8.
#include <string>
#include <string_view>

namespace tessel {

std::string cp1251ToUtf8(std::string_view bytes);
// Characters without a 1251 form become '?'.
std::string utf8ToCp1251(std::string_view text);

}  // namespace tessel
