#pragma once
// TPultPolling: the polling of one M50 panel by its one-byte address: the port it shares with
// the other panels on the same wire, its link, the polling state and one polling step,
// ServePult. Two line kinds poll a panel: a panel line on a serial port (TPultControl) and a
// panel behind a TCP serial gateway; PultPollRules says what the second one does differently.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "lintra/ports/PultLink.h"
#include "lintra/ports/lines/PanelPort.h"
#include "lintra/ports/lines/PortControl.h"
#include "platform/Clock.h"

namespace lintra {

// What a line kind changes in the polling step. The defaults are those of a panel on a
// serial port; a panel behind a TCP gateway has no speeds to hunt, no receiver to resync
// and no log of its own.
struct PultPollRules {
    int restoreCountdownStart = 5;
    bool repeatOnAnyErrorAnswer = false;  // the first send takes no error answer as an answer
    bool huntSpeed = true;
    bool resyncAfterFailure = true;
    bool stepLog = true;
    bool plainNumberWrap = false;   // the next number is always current + 1 modulo 65536
    bool recordsFromPanel = false;  // the library's own records carry the panel address too
};

class TPultPolling : public TPortControl {
public:
    static constexpr uint32_t kIdleStepMs = 50;

    // The records one polling step hands to the client, in order: at most a loss report for
    // the command, then for the poll a restore report and a message.
    struct StepRecords {
        std::array<EventRecord, 3> records{};
        size_t count = 0;
        bool idle = false;  // nothing queued and polling off: the driver pauses kIdleStepMs
        void add(const EventRecord &record) {
            if (count < records.size()) records[count++] = record;
        }
    };

    // Leaves the port (waiting for a step in progress to end); the port and its thread go with
    // the last line. A subclass calls LeavePort first in its own destructor.
    ~TPultPolling() override;

    // Joins an open port as its owner (the line that opened it) or as a borrower. False when
    // the port's slot for the panel address is taken.
    virtual bool JoinPort(std::shared_ptr<TPanelPort> port, bool owner);

    // One polling step; the caller holds the port lock and delivers the records afterwards.
    StepRecords ServePult();
    void ResyncLine() { link_->ResyncLine(); }
    void SetConnParam();
    // Next speed mode (or the fixed one of the line's Speeds setting), stored for the line.
    // The caller holds the port lock.
    void ChangePultMode();
    void TransmitMsg(const PanelFrame &frame) { link_->TransmitMsg(frame); }
    bool GetAnswer(PanelFrame &buffer) { return link_->GetAnswer(buffer); }
    int32_t answerCounter() const override { return link_ ? link_->answerCounter() : 0; }

    uint8_t address() const { return address_; }
    tessel::Clock &clock() const { return clock_; }
    bool portOwner() const { return portOwner_; }
    TPanelPort *panelPort() const { return port_.get(); }
    // Held by the polling thread from picking the line for a step to its last delivery.
    std::mutex &servingMutex() { return servingMutex_; }
    const std::shared_ptr<TPanelPort> &sharedPanelPort() const { return port_; }

    // Polling state, for the exports and for tests.
    bool silent() const { return silent_.load(); }
    bool reqenbld() const { return reqenbld_.load(); }
    int autoCount() const { return autoCnt_; }
    int restoreCountdown() const { return restoreCountdown_; }
    uint16_t currentMsgNumber() const { return currentNumber_.load(); }
    void setCurrentMsgNumber(uint16_t number) { currentNumber_.store(number); }
    uint16_t requestedMsgNumber() const { return requestedNumber_; }
    bool numberRequestMode() const { return numberRequest_; }
    int answerFormat() const { return answerFormat_; }
    bool answeredOnce() const { return answeredOnce_.load(); }
    // The link exists once the line has joined its port.
    const TPultLink &link() const { return *link_; }

protected:
    TPultPolling(int line, uint8_t address, tessel::Clock &clock, PultPollRules rules);

    // The link to the panel over the port; a line kind with another wire makes its own.
    virtual std::unique_ptr<TPultLink> MakeLink(Port &port);
    // Idempotent; after it no step of this line runs.
    void LeavePort();
    // Message polling on (internal frame 0x66) or off (0x65).
    void setMessagePolling(bool on) { reqenbld_ = on; }
    // Queues a signed frame; the new-command flag goes up, so that a silent line reports its
    // loss again for it.
    void queueCommand(const PanelFrame &frame);
    // nullptr before the line has joined its port.
    TPultLink *mutableLink() { return link_.get(); }
    void markAnswered() { answeredOnce_ = true; }
    // A borrowed line follows the mode the port owner switched the port to.
    void followPortMode();
    EventRecord internalRecord(const PanelFrame &frame) const;

private:
    EventRecord answerRecord(const PanelFrame &frame);
    void applyResetRequest();
    void huntSpeed();
    // Step parts; true when the step ends there.
    bool serveCommand(const PanelFrame &command, StepRecords &out);
    void pollMessage(StepRecords &out);
    void pollAnswered(const PanelFrame &answer, StepRecords &out);
    void pollMissed(StepRecords &out);
    uint16_t numberToRequest() const;
    void resyncAfterFailure();
    void stepLog(const char *event, int level) const;
    void stepLogFrame(const char *event, const PanelFrame &frame, int level) const;

    tessel::Clock &clock_;
    const uint8_t address_;
    const PultPollRules rules_;
    std::shared_ptr<TPanelPort> port_;
    bool portOwner_ = false;
    std::unique_ptr<TPultLink> link_;
    bool inPort_ = false;
    std::mutex servingMutex_;

    std::atomic<bool> silent_{false};
    std::atomic<bool> reqenbld_{false};
    std::atomic<bool> newCommand_{false};
    std::atomic<bool> answeredOnce_{false};
    int autoCnt_ = 3;
    int restoreCountdown_;
    int noconnskip_ = 0;
    bool alternation_ = false;
    std::atomic<uint16_t> currentNumber_{0};
    uint16_t requestedNumber_ = 0;
    bool numberRequest_ = false;
    int answerFormat_ = 0;
};

}  // namespace lintra
