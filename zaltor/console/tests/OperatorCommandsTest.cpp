#include "zaltor/console/OperatorCommands.h"

#include <gtest/gtest.h>

namespace zaltor::console {
namespace {

std::tm localTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

TEST(OperatorCommands, ClockIsSentAsBcd) {
    EXPECT_EQ(clockParameters(localTime(2026, 3, 5, 9, 4)),
              (std::vector<uint8_t>{0x03, 0x05, 0x09, 0x04, 0x26}));
    EXPECT_EQ(clockParameters(localTime(2099, 12, 31, 23, 59)),
              (std::vector<uint8_t>{0x12, 0x31, 0x23, 0x59, 0x99}));
    EXPECT_EQ(clockParameters(localTime(2100, 1, 1, 0, 0)),
              (std::vector<uint8_t>{0x01, 0x01, 0x00, 0x00, 0x00}));
}

TEST(OperatorCommands, CallsOfEveryCommand) {
    using T = LibraryCall::Target;
    const std::vector<uint8_t> zeroed(kLineCommandBufferBytes, 0);
    const std::tm now = localTime(2026, 3, 5, 9, 4);
    const std::vector<std::pair<OperatorCommand, std::vector<LibraryCall>>> cases = {
        {OperatorCommand::StartPolling, {{T::Line, 6, zeroed}}},
        {OperatorCommand::StopPolling, {{T::Line, 5, zeroed}}},
        {OperatorCommand::SetTime, {{T::Panel, 3, {0x03, 0x05, 0x09, 0x04, 0x26}}}},
        {OperatorCommand::ZoneInfo, {{T::Panel, 81, {200}}, {T::Panel, 104, {0, 200}}, {T::Panel, 104, {1, 200}}}},
        {OperatorCommand::GuardOn, {{T::Panel, 80, {1, 200}}}},
        {OperatorCommand::GuardOff, {{T::Panel, 80, {0, 200}}}},
        {OperatorCommand::StopAlarm, {{T::Panel, 105, {0}}}},
        {OperatorCommand::ResetBuffer, {}},
    };
    for (const auto &[command, calls] : cases) {
        SCOPED_TRACE(commandCaption(command));
        EXPECT_EQ(commandCalls(command, 200, now), calls);
    }
}

TEST(OperatorCommands, ConsoleEchoNamesTheZoneOfZoneCommands) {
    EXPECT_EQ(consoleEcho(OperatorCommand::ZoneInfo, "7"), "=> Инф. о зоне - зона 7");
    EXPECT_EQ(consoleEcho(OperatorCommand::GuardOn, "12"), "=> Поставить на охр. - зона 12");
    EXPECT_EQ(consoleEcho(OperatorCommand::GuardOff, "1"), "=> Снять с охраны - зона 1");
    EXPECT_EQ(consoleEcho(OperatorCommand::SetTime, "7"), "=> Установить время");
    EXPECT_EQ(consoleEcho(OperatorCommand::StopAlarm, "7"), "=> Снять тревогу");
}

TEST(OperatorCommands, ConsoleTags) {
    const std::vector<std::pair<int, std::optional<OperatorCommand>>> cases = {
        {100, OperatorCommand::StartPolling}, {200, OperatorCommand::StopPolling},
        {300, OperatorCommand::SetTime},      {500, OperatorCommand::ZoneInfo},
        {600, OperatorCommand::GuardOn},      {700, OperatorCommand::GuardOff},
        {800, OperatorCommand::StopAlarm},    {400, std::nullopt},
        {0, std::nullopt},                    {-100, std::nullopt},
        {900, std::nullopt},
    };
    for (const auto &[tag, command] : cases) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(consoleCommandForTag(tag), command);
    }
}

}  // namespace
}  // namespace zaltor::console
