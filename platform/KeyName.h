#pragma once
// Key paths and value names of the settings store compare as the registry compares them:
// without regard to letter case. Folding covers ASCII and the Cyrillic capitals of UTF-8 text
// (U+0400..U+042F to their small forms); every other byte compares as itself. Folding keeps the
// byte length, so a folded prefix marks the same bytes in the original spelling.
#include <string>
#include <string_view>

namespace tessel {

std::string foldName(std::string_view name);
bool sameName(std::string_view a, std::string_view b);

// "\A\\B\" -> "A\B": leading, trailing and repeated backslashes dropped.
std::string normalizeKeyPath(std::string_view path);

// True when normalized `path` lies strictly below normalized `ancestor` ("" is the root).
bool isBelow(std::string_view path, std::string_view ancestor);

}  // namespace tessel
