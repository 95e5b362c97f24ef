#pragma once
// A transport for master tests: records every frame sent and answers from a script, one entry
// per GetAnswer (nullopt: no answer). An exhausted script answers nothing.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "lintra/ports/intlcb/LcbTransport.h"
#include "testsupport/Hex.h"

namespace lintra::test {

class FakeTransport final : public TLcbTransport {
public:
    void answer(const char *hex) {
        PanelFrame frame = PanelFrame::fromBytes(testsupport::hexBytes(hex));
        if (fixChecksum) FrameChecksum(frame);
        script.push_back(frame);
    }
    void silence(int times = 1) { script.insert(script.end(), static_cast<size_t>(times), std::nullopt); }

    void TransmitMsg(const PanelFrame &frame) override { sent.push_back(testsupport::toHex(frame.wire())); }
    bool GetAnswer(PanelFrame &answer) override {
        if (script.empty()) return false;
        const auto next = script.front();
        script.pop_front();
        if (next) answer = *next;
        return next.has_value();
    }
    bool checksAnswers() const override { return true; }

    bool fixChecksum = true;
    std::deque<std::optional<PanelFrame>> script;
    std::vector<std::string> sent;
};

}  // namespace lintra::test
