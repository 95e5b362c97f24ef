#pragma once
// Bringing a .reg file (ours or a Windows export) into the hives, as `tessel-reg import` does.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tessel {

struct ImportResult {
    bool written = true;               // false when a hive could not be updated
    int values = 0;                    // values set
    std::vector<std::string> skipped;  // lines that could not be brought over, as they stood
};

// Keys under HKEY_CURRENT_USER go to the user hive, under HKEY_LOCAL_MACHINE to the machine
// hive, keys without a root to `defaultHive`. Other roots, value types this store has no form
// for and unparsed lines are skipped. Each hive is updated in one atomic write.
ImportResult importRegText(std::string_view text, Hive defaultHive);

}  // namespace tessel
