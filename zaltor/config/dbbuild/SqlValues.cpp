#include "zaltor/config/dbbuild/SqlValues.h"

namespace zaltor::dbbuild {

std::optional<int64_t> integerOrZero(const QVariant &value) {
    if (value.isNull()) return 0;
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return n;
}

std::optional<int64_t> rowNumber(const QVariant &value) {
    if (value.isNull()) return std::nullopt;
    return integerOrZero(value);
}

}  // namespace zaltor::dbbuild
