#pragma once
// One connection to the controller (the pty, or a TCP client): its own line cutting, so pieces
// of two clients never mix, the controller shared. Every received line is logged, with the
// reason when the controller did nothing with it.
#include "sim/ncx/NcxController.h"
#include "sim/ncx/NcxLineReader.h"
#include "sim/serve/LineResponder.h"
#include "sim/serve/WireLog.h"

namespace sim {

class NcxStream : public StreamReader {
public:
    NcxStream(NcxController &controller, WireLog &log) : controller_(controller), log_(log) {}
    Result receive(std::span<const uint8_t> bytes, uint64_t nowMs, int speedMode) override;
    // The start notice of the new connection.
    std::optional<Transmission> greeting() override;

private:
    NcxController &controller_;
    WireLog &log_;
    NcxLineReader reader_;
};

// The bytes of text to send, or nullopt when there are none.
std::optional<Transmission> transmissionOf(const std::string &text);

}  // namespace sim
