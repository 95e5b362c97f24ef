#include "zaltor/config/dbbuild/UserKeys.h"

namespace zaltor::dbbuild {
namespace {

std::optional<uint8_t> hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return static_cast<uint8_t>(u - '0');
    if (u >= 'A' && u <= 'F') return static_cast<uint8_t>(u - 'A' + 10);
    if (u >= 'a' && u <= 'f') return static_cast<uint8_t>(u - 'a' + 10);
    return std::nullopt;
}

// (v div 10) in the high four bits, (v mod 10) in the low four; v is 0..99 here.
uint8_t packedBcd(int v) {
    return static_cast<uint8_t>((v / 10) << 4 | (v % 10));
}

}  // namespace

std::array<uint8_t, 4> cardCodeOf(const QString &numKd) {
    const QString text = numKd.trimmed().rightJustified(8, u'0');
    std::array<uint8_t, 4> code{};
    for (int i = 0; i < 4; ++i) {
        const auto high = hexDigit(text[2 * i]);
        const auto low = hexDigit(text[2 * i + 1]);
        if (!high || !low) break;
        code[i] = static_cast<uint8_t>(*high << 4 | *low);
    }
    return code;
}

std::optional<std::array<uint8_t, 2>> passwordDigits(int64_t password) {
    if (password < 0 || password > 9999) return std::nullopt;
    const int p = static_cast<int>(password);
    return std::array<uint8_t, 2>{packedBcd(p / 100), packedBcd(p % 100)};
}

}  // namespace zaltor::dbbuild
