#pragma once
// UTF-16LE text of Windows exports and hex(1)/hex(2) values, turned into UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace tessel {

void appendUtf8(std::string &out, uint32_t codePoint);
// Unpaired surrogates become U+FFFD; an odd last byte is dropped.
std::string utf16leToUtf8(std::string_view bytes);

}  // namespace tessel
