#include "zaltor/console/RecordLines.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "zaltor/console/DecodeResult.h"
#include "zaltor/console/NetControllerMessageDecoder.h"
#include "zaltor/console/NumberForms.h"
#include "zaltor/console/PanelMessageDecoder.h"

namespace zaltor::console {
namespace {

std::span<const uint8_t> dataArea(const EventRecord &record) { return record.data; }

}  // namespace

std::string recordHeader(const EventRecord &record) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2X %.2X %.2u.%.2u-%.2u:%.2u ", unsigned{record.address},
                  unsigned{record.code}, unsigned{record.day}, unsigned{record.month},
                  unsigned{record.hour}, unsigned{record.minute});
    return buffer;
}

std::string rawLine(const EventRecord &record) {
    std::string line = recordHeader(record);
    const std::size_t valid = std::min<std::size_t>(record.data_length, sizeof record.data);
    for (uint8_t byte : dataArea(record).first(valid)) line += hex2(byte) + " ";
    return line + "- " + hex2(record.line);
}

std::optional<std::string> describeRecord(const EventRecord &record) {
    std::string text;
    if (record.address == kLibrarySource &&
        DecodeNetControllerMessage(record.code, dataArea(record), record.data_length, text) == kDecoded)
        return text;
    if (DecodePanelMessage(record.code, dataArea(record), record.data_length, text) == kDecoded)
        return text;
    return std::nullopt;
}

std::optional<std::string> describedLine(const EventRecord &record) {
    std::optional<std::string> description = describeRecord(record);
    if (!description) return std::nullopt;
    return recordHeader(record) + " (" + hex2(record.line) + ") " + *description;
}

}  // namespace zaltor::console
