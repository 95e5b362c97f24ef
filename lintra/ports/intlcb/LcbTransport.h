#pragma once
// The wire of an intelligent line-controller line as its polling master sees it: send one frame,
// wait for one answer. The serial and the TCP kind differ only in this transport.
#include <algorithm>
#include <atomic>
#include <cstdint>

#include "lintra/ports/PanelFrame.h"

namespace lintra {

class TLcbTransport {
public:
    virtual ~TLcbTransport() = default;

    virtual void TransmitMsg(const PanelFrame &frame) = 0;
    // True with the answer in the buffer; false when none came whole.
    virtual bool GetAnswer(PanelFrame &answer) = 0;
    // The serial wire carries checksums the master checks; the TCP gateway's framing replaces them.
    virtual bool checksAnswers() const = 0;

    // Positive: consecutive answers; negative: consecutive failures.
    int32_t answerCounter() const { return answerCounter_.load(); }

protected:
    void answerUp() { answerCounter_.store(std::max(answerCounter_.load(), 0) + 1); }
    void answerDown() { answerCounter_.store(std::min(answerCounter_.load(), 0) - 1); }

private:
    std::atomic<int32_t> answerCounter_{0};
};

}  // namespace lintra
