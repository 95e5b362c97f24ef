#pragma once
// TIntLCBMaster: the polling master of an intelligent line-controller line, shared by the
// serial and the TCP kind. One ServeContr step sends a queued command or polls the next unit
// over the line's transport and turns what comes back into records for the line's client.
#include <atomic>
#include <cstdint>
#include <functional>

#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/intlcb/LcbTransport.h"
#include "lintra/ports/intlcb/UnitTables.h"
#include "lintra/ports/queues.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Clock.h"

namespace lintra {

class TIntLCBMaster {
public:
    static constexpr uint8_t kCodePoll = 0x02;
    static constexpr uint8_t kCodeRepeatLast = 0x12;
    static constexpr uint8_t kCodeUnitRestored = 0x10;
    static constexpr uint8_t kCodeNoAnswer = 0x62;

    struct Hooks {
        std::function<void(const PanelFrame &)> deliver;  // a frame becomes a record for the client
        std::function<void()> serveMailbox;                // the ControllerMailbox of the line
    };

    TIntLCBMaster(int line, TLcbTransport &transport, TQueue<PanelFrame> &queue, tessel::Clock &clock,
                  const PolicySettings &policy, Hooks hooks);

    // One step; nothing happens while serving is disabled.
    void ServeContr();
    // A unit that did not answer (code 0x62) or answered an error (code 3): counted, maybe
    // excluded, reported.
    void CountUnit(PanelFrame frame);

    void setPolling(bool on) { polling_.store(on); }
    bool polling() const { return polling_.load(); }
    void setServing(bool on) { serving_.store(on); }
    bool serving() const { return serving_.load(); }
    // Serving off for a line reset; false when it was off already, so that a second request
    // while a reset is starting or running starts no other.
    bool BeginReset() { return serving_.exchange(false); }

    const TUnitTables &units() const { return units_; }

private:
    void poll();
    void sendCommand(const PanelFrame &command);
    void broadcast(const PanelFrame &command);
    void takeAnswer(uint8_t unit, const PanelFrame &answer);
    void emptyQueueAnswer(uint8_t unit, const PanelFrame &answer);
    bool errorAcceptedAtOnce(const PanelFrame &command, const PanelFrame &answer);
    void commandDone(const PanelFrame &command, const PanelFrame &answer);
    void deliverRestored(uint8_t unit);
    void log(const char *text, const PanelFrame &frame, int level) const;

    const int line_;
    TLcbTransport &transport_;
    TQueue<PanelFrame> &queue_;
    tessel::Clock &clock_;
    const PolicySettings &policy_;
    Hooks hooks_;
    TUnitTables units_;
    std::atomic<bool> polling_{false};
    std::atomic<bool> serving_{true};
};

}  // namespace lintra
