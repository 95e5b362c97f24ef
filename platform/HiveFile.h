#pragma once
// Reading and updating a hive file. Readers take a shared flock on a lock file beside the hive;
// an update takes it exclusively, re-reads the hive, applies the change, writes a temporary
// file in the same directory, fsyncs it and renames it over the hive.
#include <functional>
#include <optional>

#include "platform/RegDocument.h"
#include "platform/Registry.h"

namespace tessel {

// A missing or unreadable hive reads as empty.
RegDocument readHive(Hive hive);

// nullopt when the hive could not be read or written; the hive is then left as it was. A
// change that leaves the text as it was writes nothing.
std::optional<RegDocument> updateHive(Hive hive, const std::function<void(RegDocument &)> &change);

}  // namespace tessel
