#pragma once
// Records written the short way in tests: reply(85, {5, 0x21}) and "85: 05 21" for a record.
#include "testsupport/Hex.h"
#include "zaltor/config/RecordBuffer.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace zaltor::fixtures {

inline CommandRecord reply(uint16_t code, std::initializer_list<uint8_t> data) {
    CommandRecord r;
    r.code = code;
    r.dataCount = static_cast<uint16_t>(data.size());
    std::copy(data.begin(), data.end(), r.data);
    return r;
}

// The code and the data bytes up to the last one that is not 0.
inline std::string recordText(const ConfigRecord &record) {
    size_t used = sizeof record.data;
    while (used > 0 && record.data[used - 1] == 0) --used;
    return std::to_string(record.code) + ": " + testsupport::toHex({record.data, used});
}

inline std::string recordsText(const RecordBuffer &buffer) {
    std::string text;
    for (const ConfigRecord &record : buffer.records()) text += (text.empty() ? "" : " | ") + recordText(record);
    return text;
}

}  // namespace zaltor::fixtures
