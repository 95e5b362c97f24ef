#pragma once
// The TCP wire of an intelligent line-controller line: each frame travels as a type-0 message
// behind the type/length header, each connect is followed by the greeting. A failed exchange
// closes the socket; the next send reconnects.
#include <memory>
#include <string>

#include "lintra/ports/intlcb/LcbTransport.h"
#include "lintra/ports/intlcb/NetStream.h"
#include "platform/Clock.h"

namespace lintra {

class TNetLcbTransport final : public TLcbTransport {
public:
    static constexpr uint32_t kAnswerWaitMs = 4000;
    static constexpr uint32_t kSendWaitMs = 2000;
    static constexpr uint32_t kAfterCloseMs = 50;

    // peer is "address:port" as the log names it.
    TNetLcbTransport(TNetConnector connector, tessel::Clock &clock, int line, std::string greeting,
                     std::string peer);

    void TransmitMsg(const PanelFrame &frame) override;
    bool GetAnswer(PanelFrame &answer) override;
    bool checksAnswers() const override { return false; }

    bool connected() const { return stream_ != nullptr; }

private:
    bool connect();
    bool fail();
    void closeSocket() { stream_.reset(); }

    TNetConnector connector_;
    tessel::Clock &clock_;
    const int line_;
    const std::string greeting_;
    const std::string peer_;
    std::unique_ptr<TNetStream> stream_;
    bool noConnection_ = false;
};

}  // namespace lintra
