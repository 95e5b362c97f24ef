#pragma once
// Russian description of a panel message or command answer, keyed by its code.
#include <cstdint>
#include <span>
#include <string>

namespace zaltor::console {

// data is the record's whole data area (10 bytes delivered, 12 in a reply area) and length the
// record's count of valid bytes; no byte outside data is read. Returns kDecoded, kNoDescription
// or kUnreadable (DecodeResult.h); text is replaced only on kDecoded, and a few answers of an
// unknown sub-kind decode to kDecoded without touching it.
int DecodePanelMessage(uint16_t code, std::span<const uint8_t> data, std::size_t length,
                       std::string &text);

}  // namespace zaltor::console
