#pragma once
// A gateway line over a scripted stream and a manual clock, and the answers a gateway hands
// out: a panel's frame as it comes, or padded with zeros to 13 bytes.
#include <memory>
#include <string>
#include <vector>

#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/netrs/NetRSControl.h"
#include "lintra/ports/netrs/tests/ScriptedGatewayStream.h"

namespace lintra::test {

inline constexpr uint8_t kGatewayAddress = 5;
inline constexpr size_t kPaddedAnswerSize = 13;

// A signed frame of the given bytes: the last byte is replaced by the checksum.
inline std::vector<uint8_t> frame(std::vector<uint8_t> bytes) {
    PanelFrame signedFrame = PanelFrame::fromBytes(bytes);
    FrameChecksum(signedFrame);
    const auto wire = signedFrame.wire();
    return {wire.begin(), wire.end()};
}

// The same frame padded with zeros as a padding gateway sends it.
inline std::vector<uint8_t> padded(std::vector<uint8_t> bytes) {
    std::vector<uint8_t> out = frame(std::move(bytes));
    out.resize(kPaddedAnswerSize, 0);
    return out;
}

struct GatewayFixture {
    tessel::ManualClock clock{1000};
    ScriptedGatewayStream::Script script;
    std::unique_ptr<TNetRSLCBControl> line;  // joined to the script, its thread not started

    GatewayFixture() {
        LineState::Reset();
        line = std::make_unique<TNetRSLCBControl>(3, kGatewayAddress, clock);
        line->JoinGateway(std::make_unique<ScriptedGatewayStream>(script, clock));
    }
    void pollingOn() { line->SendComMsg(PanelFrame::connectionRestored(4), 0); }
    void command() { line->SendComMsg(PanelFrame::command(kGatewayAddress, 80, std::vector<uint8_t>{1}), 0); }
    std::vector<EventRecord> delivered;  // every record of every step
    std::vector<uint16_t> step() {
        const TPultPolling::StepRecords records = line->ServePult();
        std::vector<uint16_t> codes;
        for (size_t i = 0; i < records.count; ++i) {
            codes.push_back(records.records[i].code);
            delivered.push_back(records.records[i]);
        }
        return codes;
    }
};

}  // namespace lintra::test
