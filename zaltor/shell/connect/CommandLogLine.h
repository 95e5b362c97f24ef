#pragma once
// The diagnostic log's line for a command sent to a panel.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zaltor::shell {

// caption + " Линия:" line + " Адрес:" address + " Команда:" code "(" two hex digits "h)" +
// " Параметров:" count + " Параметры:" and each byte in decimal followed by two spaces.
std::string commandLogLine(std::string_view caption, int line, int address, uint16_t command,
                           std::span<const uint8_t> params);

}  // namespace zaltor::shell
