// Arbitrary records through both decoders and the pane lines. The first 22 bytes are the
// record; any further bytes are given to the decoders as a data area of exactly that size, so
// a read past a short area is caught by the sanitizer.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "zaltor/console/EventRecord.h"
#include "zaltor/console/NetControllerMessageDecoder.h"
#include "zaltor/console/PanelMessageDecoder.h"
#include "zaltor/console/RecordLines.h"

using namespace zaltor::console;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < sizeof(EventRecord)) return 0;
    EventRecord record;
    std::memcpy(&record, data, sizeof record);
    const std::vector<uint8_t> area(data + sizeof record, data + size);

    std::string text;
    DecodePanelMessage(record.code, record.data, record.data_length, text);
    DecodeNetControllerMessage(record.code, record.data, record.data_length, text);
    DecodePanelMessage(record.code, area, record.data_length, text);
    DecodeNetControllerMessage(record.code, area, record.data_length, text);
    rawLine(record);
    describedLine(record);
    return 0;
}
