#include "zaltor/console/PanelInternalEvent.h"

#include <array>
#include <string_view>

#include "zaltor/console/NumberForms.h"

namespace zaltor::console {
namespace {

// Row i is event type i; "{1}" and "{2}" stand for the first and second parameter in decimal.
constexpr std::array<std::string_view, 32> kEventTexts = {
    "КЗ линии",
    "восстановление линии",
    "тревога в зоне {1}",
    "изменение пароля(карты) {1}",
    "установка зоны {1} на охрану, пользователь {2}",
    "снятие зоны {1} с охраны, пользователь {2}",
    "постановка группы {1} из меню, пользователь {2}",
    "установка времени, пользователь {2}",
    "постановка группы по ключу, пользователь {2}",
    "снятие группы по ключу, пользователь {2}",
    "снятие группы {1} из меню, пользователь {2}",
    "изменение конфигурации системы, пользователь {2}",
    "отключение тревоги, пользователь {2}",
    "удаление пользователя {1}",
    "обрыв блока {2}для шлейфа {1}",
    "КЗ шлейфа {1}",
    "обрыв шлейфа {1}",
    "Выкл. канала управления {1}",
    "Вкл. канала управления {1}",
    "пожар в зоне {1}",
    "тв. извещатель {1}",
    "зарядка блока питания {2}",
    "отсутствие 220 В - блок {2}",
    "отключение блока питания {2}",
    "неисправность блока питания {2}",
    "восстановление связи с блоком",
    "постановка зоны на контроль",
    "снятие зоны с контроля",
    "предупреждение о пожаре",
    "очистка очереди",
    "вскрытие блока",
    "предупреждение о тревоге",
};

std::string fillParameters(std::string_view pattern, uint8_t first, uint8_t second) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 3) == "{1}") {
            text += decimal(first);
            i += 2;
        } else if (pattern.substr(i, 3) == "{2}") {
            text += decimal(second);
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace

std::string describeInternalEvent(std::span<const uint8_t, kInternalEventBytes> event) {
    const uint8_t type = event[0];
    const unsigned number = event[7] * 256u + event[8];
    std::string text = "Внутреннее событие охранного пульта " + decimal(number) + ":\r\n ";
    if (type < kEventTexts.size())
        text += fillParameters(kEventTexts[type], event[1], event[2]);
    else
        text += "код " + hex2(type) + "h";
    return text;
}

}  // namespace zaltor::console
