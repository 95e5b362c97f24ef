#include "zaltor/console/NetControllerMessageDecoder.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "zaltor/console/DecodeResult.h"
#include "zaltor/console/NumberForms.h"

namespace zaltor::console {
namespace {

constexpr std::array<std::pair<uint16_t, std::string_view>, 4> kKnownEvents = {{
    {100, "Сетевой контроллер: ОК"},
    {101, "Сетевой контроллер: связь потеряна"},
    {102, "Сетевой контроллер: связь восстановлена"},
    {104, "Сетевой контроллер: опрос завершен"},
}};

}  // namespace

int DecodeNetControllerMessage(uint16_t code, std::span<const uint8_t> data, std::size_t length,
                               std::string &text) {
    if (data.data() == nullptr && length != 0) return kNoDescription;
    for (const auto &[known, knownText] : kKnownEvents) {
        if (known == code) {
            text = knownText;
            return kDecoded;
        }
    }
    std::string described = "Сетевой контроллер: событие " + hex2(code) + ":";
    for (uint8_t byte : data.first(std::min(length, data.size()))) described += " " + hex2(byte);
    text = std::move(described);
    return kDecoded;
}

}  // namespace zaltor::console
