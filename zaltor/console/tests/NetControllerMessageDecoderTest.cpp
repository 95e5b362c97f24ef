#include "zaltor/console/NetControllerMessageDecoder.h"

#include <gtest/gtest.h>

#include "zaltor/console/DecodeResult.h"
#include "zaltor/console/tests/DecoderCase.h"

namespace zaltor::console {
namespace {

TEST(NetControllerMessageDecoder, EveryCodeHasAText) {
    expectTexts(DecodeNetControllerMessage, {
        {100, "", 0, "Сетевой контроллер: ОК"},
        {101, "", 0, "Сетевой контроллер: связь потеряна"},
        {102, "", 0, "Сетевой контроллер: связь восстановлена"},
        {104, "", 0, "Сетевой контроллер: опрос завершен"},
        // Known codes ignore their data.
        {101, "01 02", 2, "Сетевой контроллер: связь потеряна"},
        {103, "01 02 00 00 00 00 00 00 00 00", 2, "Сетевой контроллер: событие 67: 01 02"},
        {3, "", 0, "Сетевой контроллер: событие 03:"},
        {0x57, "57 03 00", 3, "Сетевой контроллер: событие 57: 57 03 00"},
        // A damaged length lists the data area only; a wide code is not cut to two digits.
        {0xFFFF, "FF FF FF FF FF FF FF FF FF FF", 0xFFFF,
         "Сетевой контроллер: событие FFFF: FF FF FF FF FF FF FF FF FF FF"},
    });
}

TEST(NetControllerMessageDecoder, MissingDataWithAClaimedLengthIsRefused) {
    std::string text = "untouched";
    EXPECT_EQ(DecodeNetControllerMessage(103, {}, 2, text), kNoDescription);
    EXPECT_EQ(DecodeNetControllerMessage(100, {}, 2, text), kNoDescription);
    EXPECT_EQ(text, "untouched");
}

}  // namespace
}  // namespace zaltor::console
