#include <gtest/gtest.h>

#include "zaltor/console/DecodeResult.h"
#include "zaltor/console/PanelMessageDecoder.h"
#include "zaltor/console/tests/DecoderCase.h"

namespace zaltor::console {
namespace {

constexpr uint16_t kInternalEvent = 87;

// Event number 0x0102 and parameters P1 = 3, P2 = 12 for every type.
std::string eventData(unsigned type) {
    char hex[48];
    std::snprintf(hex, sizeof hex, "%02X 03 0C 00 00 00 00 01 02 00", type);
    return hex;
}

TEST(PanelInternalEvent, EveryTypeAfterTheNumberedHeader) {
    const std::vector<std::pair<unsigned, const char *>> cases = {
        {0, "КЗ линии"},
        {1, "восстановление линии"},
        {2, "тревога в зоне 3"},
        {3, "изменение пароля(карты) 3"},
        {4, "установка зоны 3 на охрану, пользователь 12"},
        {5, "снятие зоны 3 с охраны, пользователь 12"},
        {6, "постановка группы 3 из меню, пользователь 12"},
        {7, "установка времени, пользователь 12"},
        {8, "постановка группы по ключу, пользователь 12"},
        {9, "снятие группы по ключу, пользователь 12"},
        {10, "снятие группы 3 из меню, пользователь 12"},
        {11, "изменение конфигурации системы, пользователь 12"},
        {12, "отключение тревоги, пользователь 12"},
        {13, "удаление пользователя 3"},
        {14, "обрыв блока 12для шлейфа 3"},
        {15, "КЗ шлейфа 3"},
        {16, "обрыв шлейфа 3"},
        {17, "Выкл. канала управления 3"},
        {18, "Вкл. канала управления 3"},
        {19, "пожар в зоне 3"},
        {20, "тв. извещатель 3"},
        {21, "зарядка блока питания 12"},
        {22, "отсутствие 220 В - блок 12"},
        {23, "отключение блока питания 12"},
        {24, "неисправность блока питания 12"},
        {25, "восстановление связи с блоком"},
        {26, "постановка зоны на контроль"},
        {27, "снятие зоны с контроля"},
        {28, "предупреждение о пожаре"},
        {29, "очистка очереди"},
        {30, "вскрытие блока"},
        {31, "предупреждение о тревоге"},
        {32, "код 20h"},
        {40, "код 28h"},
        {255, "код FFh"},
    };
    for (const auto &[type, eventText] : cases) {
        SCOPED_TRACE(type);
        const std::string data = eventData(type);
        EXPECT_EQ(runDecoder(DecodePanelMessage, kInternalEvent, data.c_str(), 10),
                  std::make_pair(kDecoded, "Внутреннее событие охранного пульта 258:\r\n " +
                                               std::string(eventText)));
    }
}

TEST(PanelInternalEvent, NumberAndParametersAreFullBytes) {
    EXPECT_EQ(runDecoder(DecodePanelMessage, kInternalEvent, "0E FF C8 00 00 00 00 FF FF", 9),
              std::make_pair(kDecoded, std::string("Внутреннее событие охранного пульта 65535:\r\n "
                                                   "обрыв блока 200для шлейфа 255")));
}

}  // namespace
}  // namespace zaltor::console
