#include "lintra/ports/commands/ControllerCommandText.h"

#include <cstdarg>
#include <cstdio>

namespace lintra {
namespace {

// printf-style text; %X gives the capital hex digits the log shows.
std::string format(const char *pattern, ...) {
    char buffer[256];
    va_list args;
    va_start(args, pattern);
    const int length = std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    if (length < 0) return {};
    return std::string(buffer, static_cast<size_t>(length) < sizeof buffer ? length : sizeof buffer - 1);
}

// The eight bits of a byte, highest first.
std::string bitsHighFirst(uint8_t value) {
    std::string digits;
    for (int bit = 7; bit >= 0; --bit) digits += (value >> bit) & 1 ? '1' : '0';
    return digits;
}

// Bits of bytes first..last, lowest bit of each byte first.
std::string bitsLowFirst(const PanelFrame &frame, size_t first, size_t last) {
    std::string digits;
    for (size_t i = first; i <= last; ++i)
        for (int bit = 0; bit < 8; ++bit) digits += (frame.bytes[i] >> bit) & 1 ? '1' : '0';
    return digits;
}

unsigned word(const PanelFrame &frame, size_t high) {
    return static_cast<unsigned>(frame.bytes[high] << 8 | frame.bytes[high + 1]);
}

std::string commandText(const PanelFrame &f) {
    const auto &b = f.bytes;
    switch (f.code()) {
        case 3:
            return format("Установить время: дата %02X/%02X время %02X:%02X день недели %X", b[4], b[3], b[5],
                          b[6], b[7]);
        case 8:
            return format("Прописать ключ N%u код %02X%02X%02X%02X %02d/%02d", word(f, 3), b[5], b[6], b[7],
                          b[8], b[9] & 0x1F, b[9]);
        case 9:
            return format("Запрет выхода %d", b[3]);
        case 10:
            return format("Установить байт статуса ключа N%u %02d/%02d", word(f, 3), b[5] & 0x1F, b[5]);
        case 13: {
            std::string list;
            for (size_t i = 3; i <= 12; ++i) list += format(" %02X", b[i]);
            return "Настройка автономной сирены: " + list + "  ";
        }
        case 14:
            return format("Установить длительность сирены: %X%X", b[3], b[4]);
        case 15:
            return format("Установить длительность открытия двери в ожидании прохода: Дверь %X Длительность %X",
                          b[4], b[3]);
        case 16:
            return format("Установить длительность импульса открытия замка: Дверь %X Длительность %X", b[4], b[3]);
        case 19:
            return "Выйти из состояния ожидания рестарта";
        case 21:
            return "Подготовиться к рестарту";
        case 22:
            return format("Поставить датчики на охрану: %X-", b[3]) + bitsHighFirst(b[3]);
        case 25:
            return format("Установить/отменить режим PassBack для контроллера: %X-", b[3]) + bitsHighFirst(b[3]);
        case 27:
            return format("Установить байт настройки ворот: %X-", b[3]) + bitsHighFirst(b[3]);
        case 29:
            return format("Настрйка количества дверей: %X", b[3]);
        case 30:
            return format("Распределение внешнего ОЗУ: кодов %d событий %d", b[3], b[4]);
        case 32:
            return format("Установить таблицу уровней доступа: Дверь %X Таблица %02X%02X%02X%02X-", b[7], b[3], b[4],
                          b[5], b[6]) +
                   bitsLowFirst(f, 3, 6);
        default:
            return format("%02X", f.code());
    }
}

}  // namespace

std::string ControllerCommandText(const PanelFrame &frame) {
    return format("адрес %02X команда: ", frame.address()) + commandText(frame);
}

}  // namespace lintra
