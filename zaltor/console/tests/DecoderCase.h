#pragma once
// One decoder input written as hex and the text it must give.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "testsupport/Hex.h"
#include "zaltor/console/DecodeResult.h"

namespace zaltor::console {

struct DecoderCase {
    uint16_t code;
    const char *data;  // the whole data area, in hex
    std::size_t length;
    const char *expected;
};

inline std::ostream &operator<<(std::ostream &out, const DecoderCase &c) {
    return out << "code " << c.code << " data [" << c.data << "] length " << c.length;
}

// Runs one decoder on a case; text starts as a marker so an untouched text is visible.
template <typename Decoder>
std::pair<int, std::string> runDecoder(Decoder decode, uint16_t code, const char *dataHex,
                                       std::size_t length) {
    const std::vector<uint8_t> data = testsupport::hexBytes(dataHex);
    std::string text = "untouched";
    const int result = decode(code, data, length, text);
    return {result, text};
}

// Every case must decode and give exactly its text.
template <typename Decoder>
void expectTexts(Decoder decode, const std::vector<DecoderCase> &cases) {
    for (const DecoderCase &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(runDecoder(decode, c.code, c.data, c.length),
                  std::make_pair(kDecoded, std::string(c.expected)));
    }
}

}  // namespace zaltor::console
