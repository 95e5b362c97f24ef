#pragma once
// The two lines a record becomes in the live panes: the raw bytes and the description.
#include <optional>
#include <string>

#include "zaltor/console/EventRecord.h"

namespace zaltor::console {

// "SS CC dd.mm-hh:mi ": source and code in hex, then the record's time, then a space.
std::string recordHeader(const EventRecord &record);
// Header, every valid data byte in hex followed by a space, "- " and the line in hex.
std::string rawLine(const EventRecord &record);
// The description of the record: the library's own events (source 251) through the network
// controller decoder first, everything else (and what that decoder refuses) as a panel message.
std::optional<std::string> describeRecord(const EventRecord &record);
// Header, " (", the line in hex, ") " and the description; none when there is no description.
std::optional<std::string> describedLine(const EventRecord &record);

}  // namespace zaltor::console
