#pragma once
// A panel line on a fake port with a manual clock, its steps run by the test instead of the
// polling thread, and panel answers built with their checksums.
#include <memory>
#include <string>
#include <vector>

#include "lintra/ports/lines/PanelPort.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/panel/PultControl.h"
#include "lintra/ports/tests/FakePort.h"
#include "lintra/ports/tests/FrameFixtures.h"

namespace lintra::test {

inline constexpr uint8_t kAddress = 5;

// A signed frame of the given bytes (the last byte is replaced by the checksum).
inline std::vector<uint8_t> signedBytes(std::vector<uint8_t> bytes) {
    PanelFrame frame = PanelFrame::fromBytes(bytes);
    FrameChecksum(frame);
    auto wire = frame.wire();
    return {wire.begin(), wire.end()};
}

// A stored message as the panel answers a poll: 11 bytes (format 0) or 13 bytes (format 1).
inline std::vector<uint8_t> messageAnswer(uint16_t number, int format = 0) {
    const uint8_t hi = static_cast<uint8_t>(number >> 8), lo = static_cast<uint8_t>(number);
    if (format == 0) return signedBytes({0xAB, kAddress, 0x57, 0x21, 0x43, 0x10, 0, 0, hi, lo, 0});
    return signedBytes({0xAD, kAddress, 0x57, 0x12, 0x10, 0x09, 0x45, 1, 2, 3, hi, lo, 0});
}

struct PultFixture {
    tessel::ManualClock clock{1000};
    FakePort *port = nullptr;
    std::shared_ptr<TPanelPort> panelPort;
    std::unique_ptr<TPultControl> line;

    explicit PultFixture(int lineNumber = 3, uint8_t address = kAddress) {
        LineState::Reset();
        auto fake = std::make_unique<FakePort>(clock);
        port = fake.get();
        panelPort = std::make_shared<TPanelPort>(std::move(fake), "/dev/fake");
        line = std::make_unique<TPultControl>(lineNumber, address, clock);
        line->JoinPort(panelPort, true);
        port->clearTrace();
    }

    void pollingOn() { line->SendComMsg(PanelFrame::connectionRestored(4), 0); }
    void answer(const std::vector<uint8_t> &bytes) { port->script(bytes); }
    // One step with the wire trace it left; the records it delivered.
    TPultControl::StepRecords step() {
        port->clearTrace();
        return line->ServePult();
    }
    // Steps without an answer until the connection is declared lost.
    void loseConnection() {
        for (int i = 0; i < 20 && !line->silent(); ++i) step();
    }
};

inline std::vector<uint16_t> codes(const TPultControl::StepRecords &step) {
    std::vector<uint16_t> out;
    for (size_t i = 0; i < step.count; ++i) out.push_back(step.records[i].code);
    return out;
}

}  // namespace lintra::test
