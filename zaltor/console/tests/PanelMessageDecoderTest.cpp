#include "zaltor/console/PanelMessageDecoder.h"

#include <gtest/gtest.h>

#include "zaltor/console/DecodeResult.h"
#include "zaltor/console/tests/DecoderCase.h"

namespace zaltor::console {
namespace {

std::pair<int, std::string> decode(uint16_t code, const char *data, std::size_t length) {
    return runDecoder(DecodePanelMessage, code, data, length);
}

void expectTexts(const std::vector<DecoderCase> &cases) { expectTexts(DecodePanelMessage, cases); }

TEST(PanelMessageDecoder, AnswersAndMessagesOfEveryCode) {
    expectTexts({
        {3, "01", 1, "Ошибка в принятом сообщении. 1 -несовпадение контрольной суммы"},
        {3, "02", 1, "Ошибка в принятом сообщении. 2 -неверный параметр в команде"},
        {3, "03", 1, "Ошибка в принятом сообщении. 3 -неизвестная команда"},
        {3, "04", 1, "Ошибка в принятом сообщении. 4 -невозможно выполнить операцию в данный момент"},
        {3, "09", 1, "03h Ошибка в принятом сообщении: 09h"},
        {3, "00", 1, "03h Ошибка в принятом сообщении: 00h"},
        {4, "00 05 03 09 04", 5, "Возвращение времени: 05.03-09:04"},
        {4, "00 31 12 23 59", 5, "Возвращение времени: 31.12-23:59"},
        {5, "00 12 34 FF FF", 5, "Код пароля 0C22h"},
        {5, "01 00 12 AB 0F", 5, "Код карты 0012AB0Fh"},
        {6, "00 1F", 2, "байт индекса пароля 1Fh"},
        {6, "01 A0", 2, "байт индекса карты A0h"},
        {19, "00 20 03 00 00 0A FF 00 00 00", 10,
         "Состояние контроллера:\r\n"
         "  количество зон в системе 32\r\n"
         "  длительность включения сирены 3 мин.\r\n"
         "  длительность задержки при постановки 10 мин.\r\n"
         "  длительность задержки при срабатывании 255 мин."},
        {86, "07 02 01 00 FF 80 00 00 00 0A", 10,
         "Настройка раздела пульта 7\r\n  посылка 2:  01 00 FF 80 00 00 00 0A"},
        {89, "03 00 2A 41", 4,
         "Получить адрес блока по порядковому номеру опроса блока\r\n"
         "  номер блока 3\r\n"
         "  адрес 002Ah\r\n"
         "  тип адресного блока 65"},
        {90, "C8", 1, "Получить номер последней опрашиваемой зоны 200"},
        {91, "00 05 00 07 00 00 00 00 00 00", 10, "Группа датчиков для канала управления:  5 7"},
        {91, "00 00 00 00 00 00 00 00 00 63", 10, "Группа датчиков для канала управления: "},
        {92, "01 00 02 00 C8 09", 6, "Дополнительные каналы управления 1 2 200"},
        {95, "00 0C 1E", 3, "Зона 12. отложенная постановка(с): 30"},
        {95, "01 0C FF", 3, "Зона 12. отложенное срабатывание(с): 255"},
        {123, "04 01 00 03 00 00 00 00 08 09", 9, "Зоны принадлежащие группе 4:  1 3 8"},
        {124, "02 00 00 00 00 05", 5, "Каналы принадлежащие группе 2: "},
        {242, "4D 35 30 20 76 31 2E 32 00 00", 8, "Версия: `M50 v1.2`"},
    });
}

TEST(PanelMessageDecoder, BytesThatAreNotBcdKeepTheirNibbles) {
    expectTexts({
        {4, "00 FF 1A 3F 99", 5, "Возвращение времени: 65.20-45:99"},
        {5, "00 FF 0A 00 00", 5, "Код пароля A50Ah"},
    });
}

TEST(PanelMessageDecoder, ZoneInformation) {
    expectTexts({
        {85, "05 00 00 00 00", 5, "Информация о зоне 5 пульта:  нормальное состояние шлейфа,"},
        {85, "05 3F 00 A5 00", 5, "Информация о зоне 5 пульта:  M38"},
        {85, "C8 3F 90 42 0F", 5,
         "Информация о зоне 200 пульта:  зона на охране, инверсия шлефа, контроль шлейфа,"
         " отложенное срабатывание, отложенная постановка, автопостановка, шлейф в тревоге,"
         "запушен таймер отложенного срабатывания пожарный блок M31, таймер отл. срабатывания(c) 15"},
        {85, "01 C2 20 30 00", 5, "Информация о зоне 1 пульта:  инверсия шлефа, КЗ шлейфа, охранный блок M32,"},
        {85, "01 00 30 50 00", 5, "Информация о зоне 1 пульта:  обрыв шлейфа, управляющий M33,"},
        {85, "01 00 40 7F 00", 5, "Информация о зоне 1 пульта:  нет блока, пожарный с квитированием,"},
        // Loop states and block models without a text add nothing.
        {85, "01 00 70 F0 00", 5, "Информация о зоне 1 пульта: "},
    });
}

TEST(PanelMessageDecoder, VersionShowsAtMostTwelveValidBytes) {
    expectTexts({
        {242, "41 42 43 44 45 46 47 48 49 4A 4B 4C", 14, "Версия: `ABCDEFGHIJKL`"},
        {242, "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D", 13, "Версия: `ABCDEFGHIJKL`"},
        {242, "41 42 43", 2, "Версия: `AB`"},
        {242, "", 0, "Версия: ``"},
        {242, "76 01 1F 20 7F", 5, "Версия: `v\\x01\\x1F \x7F`"},
        {242, "C2 E5 F0 F1 E8 FF 20 33", 8, "Версия: `Версия 3`"},
    });
}

TEST(PanelMessageDecoder, UnknownSubKindDecodesButLeavesTheTextAlone) {
    for (const auto &[code, data] : std::vector<std::pair<uint16_t, const char *>>{
             {5, "02 12 34 56 78"}, {6, "FF 01"}, {95, "02 01 01"}}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(decode(code, data, 5), std::make_pair(kDecoded, std::string("untouched")));
    }
}

TEST(PanelMessageDecoder, CodesWithoutDescriptionAreRefused) {
    for (uint16_t code : {0, 1, 2, 7, 88, 93, 122, 125, 241, 243, 0x100 + 3, 0xFFFF}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(decode(code, "01 02 03 04 05 06 07 08 09 0A", 10),
                  std::make_pair(kNoDescription, std::string("untouched")));
    }
}

TEST(PanelMessageDecoder, UnusableDataIsRefusedAndTheTextKept) {
    std::string text = "untouched";
    EXPECT_EQ(DecodePanelMessage(3, {}, 1, text), kNoDescription);
    EXPECT_EQ(DecodePanelMessage(242, {}, 4, text), kNoDescription);
    // No data and nothing claimed: a code that needs a byte cannot read it.
    EXPECT_EQ(DecodePanelMessage(3, {}, 0, text), kUnreadable);
    EXPECT_EQ(text, "untouched");
    // An area shorter than the bytes a description reads, whatever the length claims.
    EXPECT_EQ(decode(86, "07 02 01 00 FF 80 00 00 00", 10), std::make_pair(kUnreadable, std::string("untouched")));
    EXPECT_EQ(decode(87, "04 03 0C 00 00 00 00 01", 0), std::make_pair(kUnreadable, std::string("untouched")));
}

}  // namespace
}  // namespace zaltor::console
