#pragma once
// A panel user's card code and password as the panel takes them: the card code from the
// client's hexadecimal NUM_KD text, the password as two packed BCD digit pairs.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace zaltor::dbbuild {

// The text, blanks around it dropped (a CHAR column pads it), is left-padded with '0' to eight
// characters; its first four character pairs are the code bytes, characters beyond the eighth
// are ignored. A pair that is not hexadecimal gives 0 for itself and every byte after it.
std::array<uint8_t, 4> cardCodeOf(const QString &numKd);

// The two packed BCD pairs of a four-digit password 0..9999 (1234 gives 0x12 0x34); nullopt
// for any other number, which two BCD bytes cannot carry.
std::optional<std::array<uint8_t, 2>> passwordDigits(int64_t password);

}  // namespace zaltor::dbbuild
