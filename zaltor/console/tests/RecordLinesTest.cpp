#include "zaltor/console/RecordLines.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testsupport/Hex.h"

namespace zaltor::console {
namespace {

EventRecord recordFromHex(const char *hex) {
    const std::vector<uint8_t> bytes = testsupport::hexBytes(hex);
    EventRecord record;
    EXPECT_EQ(bytes.size(), sizeof record);
    std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
    return record;
}

struct LineCase {
    const char *record;  // the 22 bytes as delivered
    const char *raw;
    std::optional<std::string> described;
};

TEST(RecordLines, RawAndDescribedLinesOfARecord) {
    const std::vector<LineCase> cases = {
        {"01 00 05 00 57 00 03 05 09 04 09 00 04 03 0C 00 00 00 00 01 02 00",
         "05 57 05.03-09:04 04 03 0C 00 00 00 00 01 02 - 01",
         "05 57 05.03-09:04  (01) Внутреннее событие охранного пульта 258:\r\n"
         " установка зоны 3 на охрану, пользователь 12"},
        {"10 00 FB 00 65 00 0C 1F 17 3B 00 00 00 00 00 00 00 00 00 00 00 00",
         "FB 65 31.12-23:59 - 10", "FB 65 31.12-23:59  (10) Сетевой контроллер: связь потеряна"},
        // The library's own error answer goes to the network controller decoder, which never
        // refuses a code, so the panel's text for code 3 is not used.
        {"02 00 FB 00 03 00 01 01 00 00 00 00 09 00 00 00 00 00 00 00 00 00",
         "FB 03 01.01-00:00 - 02", "FB 03 01.01-00:00  (02) Сетевой контроллер: событие 03:"},
        // From any other source the same code is a panel message without a description.
        {"02 00 05 00 64 00 01 01 00 00 01 00 09 00 00 00 00 00 00 00 00 00",
         "05 64 01.01-00:00 09 - 02", std::nullopt},
        // A never-collected shared slot: every byte 0xFF. Nothing is cut, nothing over-read.
        {"FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF",
         "FFFF FFFF 255.255-255:255 FF FF FF FF FF FF FF FF FF FF - FFFF", std::nullopt},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.record);
        const EventRecord record = recordFromHex(c.record);
        EXPECT_EQ(rawLine(record), c.raw);
        EXPECT_EQ(describedLine(record), c.described);
    }
}

}  // namespace
}  // namespace zaltor::console
