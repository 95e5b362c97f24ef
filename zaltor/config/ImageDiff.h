#pragma once
// What differs between the configuration written into a panel and the one read back from it,
// one line per difference, for an engineer checking a write.
#include <string>
#include <vector>

#include "zaltor/config/ConfigImage.h"

namespace zaltor {

// Lines such as "zone slot 17: grd 03 in the database, 01 in the panel"; empty when equal.
// Blocks compare by address and by the type code the panel keeps, keys and sections by the
// bytes their commands carry.
std::vector<std::string> describeDifferences(const ConfigImage &database, const ConfigImage &panel);

}  // namespace zaltor
