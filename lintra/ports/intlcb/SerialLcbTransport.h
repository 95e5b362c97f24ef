#pragma once
// The serial wire of an intelligent line-controller line: the first byte of a frame goes out
// with the mark parity, the rest with space; an answer is one frame read within 500 ms per part
// (no read of a part waits past its 500 ms).
#include <functional>

#include "lintra/host/Port.h"
#include "lintra/ports/intlcb/LcbTransport.h"
#include "platform/Clock.h"

namespace lintra {

class TSerialLcbTransport final : public TLcbTransport {
public:
    static constexpr uint32_t kAnswerPartMs = 500;
    static constexpr uint32_t kParitySwitchMs = 2;
    static constexpr uint32_t kAfterReopenMs = 100;
    // reopen reopens the line's port after a short write. The port has the line-controller
    // time-outs (TControllerPort); the transport sets them too, for a port of a test.
    TSerialLcbTransport(Port &port, tessel::Clock &clock, int line, std::function<void()> reopen);

    void TransmitMsg(const PanelFrame &frame) override;
    bool GetAnswer(PanelFrame &answer) override;
    bool checksAnswers() const override { return true; }

private:
    bool readFirstByte(PanelFrame &answer);
    size_t readRest(PanelFrame &answer, size_t expected);

    Port &port_;
    tessel::Clock &clock_;
    const int line_;
    std::function<void()> reopen_;
};

}  // namespace lintra
