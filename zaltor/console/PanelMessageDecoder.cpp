#include "zaltor/console/PanelMessageDecoder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "zaltor/console/DecodeResult.h"
#include "zaltor/console/NumberForms.h"
#include "zaltor/console/PanelInternalEvent.h"
#include "zaltor/console/PanelZoneInfo.h"
#include "zaltor/console/VersionText.h"

namespace zaltor::console {
namespace {

using Data = std::span<const uint8_t>;
// nullopt: a sub-kind without a text; the caller's text stays as it was.
using Text = std::optional<std::string>;

constexpr std::string_view kCrLf = "\r\n";

Text errorAnswer(Data d, std::size_t) {
    static constexpr std::array<std::string_view, 4> kKnownErrors = {
        "Ошибка в принятом сообщении. 1 -несовпадение контрольной суммы",
        "Ошибка в принятом сообщении. 2 -неверный параметр в команде",
        "Ошибка в принятом сообщении. 3 -неизвестная команда",
        "Ошибка в принятом сообщении. 4 -невозможно выполнить операцию в данный момент",
    };
    const uint8_t error = d[0];
    if (error >= 1 && error <= kKnownErrors.size()) return std::string(kKnownErrors[error - 1]);
    return "03h Ошибка в принятом сообщении: " + hex2(error) + "h";
}

Text clockAnswer(Data d, std::size_t) {
    const auto bcd = [&](std::size_t i) { return twoDigits(fromBcd(d[i])); };
    return "Возвращение времени: " + bcd(1) + "." + bcd(2) + "-" + bcd(3) + ":" + bcd(4);
}

Text keyCode(Data d, std::size_t) {
    switch (d[0]) {
        case 0: return "Код пароля " + hex2(fromBcd(d[1])) + hex2(fromBcd(d[2])) + "h";
        case 1: return "Код карты " + hex2(d[1]) + hex2(d[2]) + hex2(d[3]) + hex2(d[4]) + "h";
        default: return std::nullopt;
    }
}

Text keyIndex(Data d, std::size_t) {
    switch (d[0]) {
        case 0: return "байт индекса пароля " + hex2(d[1]) + "h";
        case 1: return "байт индекса карты " + hex2(d[1]) + "h";
        default: return std::nullopt;
    }
}

Text controllerState(Data d, std::size_t) {
    std::string text = "Состояние контроллера:";
    text += kCrLf;
    text += "  количество зон в системе " + decimal(d[1]);
    text += kCrLf;
    text += "  длительность включения сирены " + decimal(d[2]) + " мин.";
    text += kCrLf;
    text += "  длительность задержки при постановки " + decimal(d[5]) + " мин.";
    text += kCrLf;
    text += "  длительность задержки при срабатывании " + decimal(d[6]) + " мин.";
    return text;
}

Text zoneInfo(Data d, std::size_t) { return describeZoneInfo(d.first<kZoneInfoBytes>()); }

Text sectionSetting(Data d, std::size_t) {
    std::string text = "Настройка раздела пульта " + decimal(d[0]);
    text += kCrLf;
    text += "  посылка " + decimal(d[1]) + ":" + " ";
    for (uint8_t mask : d.subspan(2, 8)) text += " " + hex2(mask);
    return text;
}

Text internalEvent(Data d, std::size_t) {
    return describeInternalEvent(d.first<kInternalEventBytes>());
}

Text blockAddress(Data d, std::size_t) {
    std::string text = "Получить адрес блока по порядковому номеру опроса блока";
    text += kCrLf;
    text += "  номер блока " + decimal(d[0]);
    text += kCrLf;
    text += "  адрес " + hex2(d[1]) + hex2(d[2]) + "h";
    text += kCrLf;
    text += "  тип адресного блока " + decimal(d[3]);
    return text;
}

Text lastPolledZone(Data d, std::size_t) {
    return "Получить номер последней опрашиваемой зоны " + decimal(d[0]);
}

Text channelSensors(Data d, std::size_t) {
    return "Группа датчиков для канала управления: " + zoneList(d.first(9));
}

Text extraChannels(Data d, std::size_t) {
    return "Дополнительные каналы управления" + zoneList(d.first(5));
}

Text zoneDelay(Data d, std::size_t) {
    const std::string zone = "Зона " + decimal(d[1]);
    switch (d[0]) {
        case 0: return zone + ". отложенная постановка(с): " + decimal(d[2]);
        case 1: return zone + ". отложенное срабатывание(с): " + decimal(d[2]);
        default: return std::nullopt;
    }
}

Text groupZones(Data d, std::size_t) {
    return "Зоны принадлежащие группе " + decimal(d[0]) + ": " + zoneList(d.subspan(1, 8));
}

Text groupChannels(Data d, std::size_t) {
    return "Каналы принадлежащие группе " + decimal(d[0]) + ": " + zoneList(d.subspan(1, 4));
}

Text version(Data d, std::size_t length) {
    constexpr std::size_t kMaxVersionBytes = 12;
    const std::size_t shown = std::min({length, d.size(), kMaxVersionBytes});
    return "Версия: `" + versionText(d.first(shown)) + "`";
}

struct PanelCode {
    uint16_t code;
    std::size_t bytesRead;  // the data area must hold at least these
    Text (*describe)(Data data, std::size_t length);
};

constexpr std::array<PanelCode, 16> kPanelCodes = {{
    {3, 1, errorAnswer},
    {4, 5, clockAnswer},
    {5, 5, keyCode},
    {6, 2, keyIndex},
    {19, 7, controllerState},
    {85, kZoneInfoBytes, zoneInfo},
    {86, 10, sectionSetting},
    {87, kInternalEventBytes, internalEvent},
    {89, 4, blockAddress},
    {90, 1, lastPolledZone},
    {91, 9, channelSensors},
    {92, 5, extraChannels},
    {95, 3, zoneDelay},
    {123, 9, groupZones},
    {124, 5, groupChannels},
    {242, 0, version},
}};

}  // namespace

int DecodePanelMessage(uint16_t code, std::span<const uint8_t> data, std::size_t length,
                       std::string &text) {
    if (data.data() == nullptr && length != 0) return kNoDescription;
    const auto row = std::find_if(kPanelCodes.begin(), kPanelCodes.end(),
                                  [code](const PanelCode &c) { return c.code == code; });
    if (row == kPanelCodes.end()) return kNoDescription;
    if (data.size() < row->bytesRead) return kUnreadable;
    if (Text described = row->describe(data, length)) text = std::move(*described);
    return kDecoded;
}

}  // namespace zaltor::console
