#pragma once
// Integer columns as the build reads them. A site database may hold anything in a column
// (SQLite keeps text in an INTEGER column), so a value that is not an integer is refused
// rather than read as 0.
#include <QVariant>

#include <cstdint>
#include <optional>

namespace zaltor::dbbuild {

// Null reads as 0; nullopt for a value that is not an integer.
std::optional<int64_t> integerOrZero(const QVariant &value);

// The low byte, as a one-byte image field keeps it.
inline uint8_t lowByte(int64_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// A flag column: any non-zero value is set. A database that stores true as -1 would otherwise
// set every bit of the panel's flags byte.
inline uint8_t flagOf(int64_t value) {
    return value != 0 ? 1 : 0;
}

// A number that selects a row of a table (user, section, zone): null selects nothing.
std::optional<int64_t> rowNumber(const QVariant &value);

}  // namespace zaltor::dbbuild
