#pragma once
// The serial wire of an intelligent line-controller line: the first byte of a frame goes out
// with the mark parity, the rest with space; an answer is one frame read within 500 ms per part.
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
    // The time-outs of a line-controller port; the transport sets them on every port it gets.
    static constexpr PortTimeouts kTimeouts{200, 20, 300, 20, 50};

    // reopen reopens the line's port after a short write.
    TSerialLcbTransport(Port &port, tessel::Clock &clock, int line, std::function<void()> reopen);

    void TransmitMsg(const PanelFrame &frame) override;
    bool GetAnswer(PanelFrame &answer) override;
    bool checksAnswers() const override { return true; }

    // The port the line works on now: the line hands in the new one after a reopen, nullptr
    // while none is open (every exchange then fails).
    void setPort(Port *port);

private:
    bool readFirstByte(PanelFrame &answer);
    size_t readRest(PanelFrame &answer, size_t expected);

    Port *port_;
    tessel::Clock &clock_;
    const int line_;
    std::function<void()> reopen_;
};

}  // namespace lintra
