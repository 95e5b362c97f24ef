#pragma once
// A fresh panel with a known clock, and requests and answers written as hex.
#include <string>

#include "sim/panel/Panel.h"
#include "testsupport/Hex.h"

namespace sim::test {

inline const CivilTime kStart{2026, 3, 5, 9, 4, 0};
constexpr uint64_t kStartMs = 1000;

inline Panel freshPanel(uint8_t address = 5, AnswerFormat format = AnswerFormat::Short,
                        size_t ring = MessageStore::kDefaultCapacity) {
    return Panel(address, format, kStart, kStartMs, ring);
}

// The panel's answer to a request given as hex, as hex ("" for no answer).
inline std::string ask(Panel &panel, const std::string &request, uint64_t nowMs = kStartMs) {
    auto answer = panel.answer(testsupport::hexBytes(request), nowMs);
    return answer ? testsupport::toHex(*answer) : "";
}

// A request frame built from its address, code and parameters given as hex.
inline std::string request(const std::string &addressCodeParams) {
    Bytes b = testsupport::hexBytes(addressCodeParams);
    return testsupport::toHex(makeFrame(b[0], b[1], std::span<const uint8_t>(b).subspan(2)));
}

}  // namespace sim::test
