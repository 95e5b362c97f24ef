#include "zaltor/console/OperatorCommands.h"

#include <algorithm>
#include <array>

namespace zaltor::console {
namespace {

constexpr uint8_t kStopPolling = 5;
constexpr uint8_t kStartPolling = 6;
constexpr uint16_t kSetClock = 3;
constexpr uint16_t kArmZone = 80;
constexpr uint16_t kReadZone = 81;
constexpr uint16_t kReadZoneDelay = 104;
constexpr uint16_t kStopAlarm = 105;

struct CommandRow {
    OperatorCommand command;
    std::string_view caption;
    bool takesZone;
    int consoleTag;  // 0: no console button
};

constexpr std::array<CommandRow, 8> kCommands = {{
    {OperatorCommand::StartPolling, "Восстановить опрос", false, 100},
    {OperatorCommand::StopPolling, "Остановить опрос", false, 200},
    {OperatorCommand::SetTime, "Установить время", false, 300},
    {OperatorCommand::ZoneInfo, "Инф. о зоне", true, 500},
    {OperatorCommand::GuardOn, "Поставить на охр.", true, 600},
    {OperatorCommand::GuardOff, "Снять с охраны", true, 700},
    {OperatorCommand::StopAlarm, "Снять тревогу", false, 800},
    {OperatorCommand::ResetBuffer, "Сброс буфера", false, 0},
}};

const CommandRow &rowOf(OperatorCommand command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandRow &row) { return row.command == command; });
}

uint8_t toBcd(int value) {
    const int twoDigits = value % 100;
    return static_cast<uint8_t>((twoDigits / 10) << 4 | twoDigits % 10);
}

LibraryCall lineCall(uint8_t command) {
    return {LibraryCall::Target::Line, command, std::vector<uint8_t>(kLineCommandBufferBytes, 0)};
}

LibraryCall panelCall(uint16_t command, std::vector<uint8_t> parameters) {
    return {LibraryCall::Target::Panel, command, std::move(parameters)};
}

}  // namespace

std::string_view commandCaption(OperatorCommand command) { return rowOf(command).caption; }

bool commandTakesZone(OperatorCommand command) { return rowOf(command).takesZone; }

std::vector<uint8_t> clockParameters(const std::tm &now) {
    return {toBcd(now.tm_mon + 1), toBcd(now.tm_mday), toBcd(now.tm_hour), toBcd(now.tm_min),
            toBcd(now.tm_year + 1900)};
}

std::vector<LibraryCall> commandCalls(OperatorCommand command, uint8_t zone, const std::tm &now) {
    switch (command) {
        case OperatorCommand::StartPolling: return {lineCall(kStartPolling)};
        case OperatorCommand::StopPolling: return {lineCall(kStopPolling)};
        case OperatorCommand::SetTime: return {panelCall(kSetClock, clockParameters(now))};
        case OperatorCommand::ZoneInfo:
            return {panelCall(kReadZone, {zone}), panelCall(kReadZoneDelay, {0, zone}),
                    panelCall(kReadZoneDelay, {1, zone})};
        case OperatorCommand::GuardOn: return {panelCall(kArmZone, {1, zone})};
        case OperatorCommand::GuardOff: return {panelCall(kArmZone, {0, zone})};
        case OperatorCommand::StopAlarm: return {panelCall(kStopAlarm, {0})};
        case OperatorCommand::ResetBuffer: return {};
    }
    return {};
}

std::string consoleEcho(OperatorCommand command, std::string_view zoneText) {
    std::string echo = "=> " + std::string(commandCaption(command));
    if (commandTakesZone(command)) echo += " - зона " + std::string(zoneText);
    return echo;
}

std::optional<OperatorCommand> consoleCommandForTag(int tag) {
    if (tag <= 0) return std::nullopt;
    for (const CommandRow &row : kCommands)
        if (row.consoleTag == tag) return row.command;
    return std::nullopt;
}

}  // namespace zaltor::console
