#pragma once
// The operator commands of the console and the setup window: their captions and the library
// calls each one makes.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zaltor::console {

enum class OperatorCommand {
    StartPolling,
    StopPolling,
    SetTime,
    ZoneInfo,
    GuardOn,
    GuardOff,
    StopAlarm,
    ResetBuffer,
};

// One call into the library: LCBCommand on the line, or SendPultCommand to the panel.
struct LibraryCall {
    enum class Target { Line, Panel };
    Target target;
    uint16_t command;
    std::vector<uint8_t> parameters;  // for a line call the zeroed buffer, passed with count 0
    bool operator==(const LibraryCall &) const = default;
};

inline constexpr std::size_t kLineCommandBufferBytes = 12;

std::string_view commandCaption(OperatorCommand command);
bool commandTakesZone(OperatorCommand command);
// The calls in order; zone is the zone field's position, now the PC's local time.
std::vector<LibraryCall> commandCalls(OperatorCommand command, uint8_t zone, const std::tm &now);
// Month, day, hour, minute and the year's last two digits, each as two BCD digits.
std::vector<uint8_t> clockParameters(const std::tm &now);

// The console's echo: "=> " + caption, and for a zone command " - зона " + the zone field's text.
std::string consoleEcho(OperatorCommand command, std::string_view zoneText);
// The console dispatches its buttons by Tag (100 .. 800); none for a Tag without a command.
std::optional<OperatorCommand> consoleCommandForTag(int tag);

}  // namespace zaltor::console
