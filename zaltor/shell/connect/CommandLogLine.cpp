#include "zaltor/shell/connect/CommandLogLine.h"

#include <cstdio>

namespace zaltor::shell {

std::string commandLogLine(std::string_view caption, int line, int address, uint16_t command,
                           std::span<const uint8_t> params) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", command);
    std::string text = std::string(caption) + " Линия:" + std::to_string(line) + " Адрес:" + std::to_string(address) +
                       " Команда:" + std::to_string(command) + "(" + hex + "h)" +
                       " Параметров:" + std::to_string(params.size()) + " Параметры:";
    for (const uint8_t p : params) text += std::to_string(p) + "  ";
    return text;
}

}  // namespace zaltor::shell
