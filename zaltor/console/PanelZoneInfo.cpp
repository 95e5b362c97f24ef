#include "zaltor/console/PanelZoneInfo.h"

#include <array>
#include <string_view>
#include <utility>

#include "zaltor/console/NumberForms.h"

namespace zaltor::console {
namespace {

constexpr uint8_t kModelMask = 0xF0;
constexpr uint8_t kM38Model = 0xA0;  // an M38 block reports none of the other fields
constexpr uint8_t kLoopStateMask = 0x70;
constexpr uint8_t kTimerRunningBit = 0x80;

// Flag bit i of the answer is row i.
constexpr std::array<std::string_view, 6> kFlagTexts = {
    " зона на охране,",         " инверсия шлефа,",      " контроль шлейфа,",
    " отложенное срабатывание,", " отложенная постановка,", " автопостановка,",
};

using Coded = std::pair<uint8_t, std::string_view>;

constexpr std::array<Coded, 5> kLoopStateTexts = {{
    {0x00, " нормальное состояние шлейфа,"},
    {0x10, " шлейф в тревоге,"},
    {0x20, " КЗ шлейфа,"},
    {0x30, " обрыв шлейфа,"},
    {0x40, " нет блока,"},
}};

constexpr std::array<Coded, 4> kModelTexts = {{
    {0x40, " пожарный блок M31,"},
    {0x30, " охранный блок M32,"},
    {0x50, " управляющий M33,"},
    {0x70, " пожарный с квитированием,"},
}};

template <std::size_t N>
std::string_view textOf(const std::array<Coded, N> &table, uint8_t value) {
    for (const auto &[key, text] : table)
        if (key == value) return text;
    return {};
}

}  // namespace

std::string describeZoneInfo(std::span<const uint8_t, kZoneInfoBytes> info) {
    const uint8_t zone = info[0], flags = info[1], state = info[2], model = info[3] & kModelMask,
                  timer = info[4];
    std::string text = "Информация о зоне " + decimal(zone) + " пульта: ";
    if (model == kM38Model) return text + " M38";
    for (std::size_t bit = 0; bit < kFlagTexts.size(); ++bit)
        if (flags & (1u << bit)) text += kFlagTexts[bit];
    text += textOf(kLoopStateTexts, state & kLoopStateMask);
    if (state & kTimerRunningBit) text += "запушен таймер отложенного срабатывания";
    text += textOf(kModelTexts, model);
    if (timer != 0) text += " таймер отл. срабатывания(c) " + decimal(timer);
    return text;
}

}  // namespace zaltor::console
