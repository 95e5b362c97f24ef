#pragma once
// Events that a test stores in a simulated line-controller unit, written on a control line as
//   ADDR CODE [BYTE|now]...
// a frame from unit ADDR with event CODE and its data bytes; "now" stands for the two time
// bytes of event codes that carry their own time (day and hour, day and minute).
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/panel/CivilTime.h"
#include "sim/panel/Frame.h"

namespace sim {

// The largest unit address of a line.
constexpr uint8_t kMaxUnit = 250;

// Bytes 3 and 4 of an event that carries its own time: day / 4 and hour, day % 4 and minute.
std::array<uint8_t, 2> eventTimeBytes(const CivilTime &t);

// The event frame of fields f[at..], or nullopt with the reason in `error`.
std::optional<Bytes> parseEventFrame(const std::vector<std::string> &f, size_t at, const CivilTime &now,
                                     std::string &error);

// The stored events of the unit at an address, or nullptr when there is none.
using QueueOf = std::function<std::deque<Bytes> *(uint8_t address)>;

// "event ADDR CODE [BYTE|now]..." (ok QUEUED) and "clear ADDR" (ok) against the queues that
// queueOf finds; nullopt for any other command.
std::optional<std::string> executeEventCommand(const std::vector<std::string> &f, const CivilTime &now,
                                               const QueueOf &queueOf);

// A unit list as "0-9,12,200-250" (addresses 0..250), or nullopt.
std::optional<std::vector<uint8_t>> parseUnitList(const std::string &text);
// The --units option of a program: the list `text` (nullptr when missing) added to `units`;
// "" or the reason it was refused.
std::string takeUnitList(const std::string *text, std::vector<uint8_t> &units);

// The end of the usage text of units-sim and lcb-sim: the commands of the serving loop, the
// number forms and the ready line.
std::string unitSimUsageEnd(const std::string &program);

}  // namespace sim
