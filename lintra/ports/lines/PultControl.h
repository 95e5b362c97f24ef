#pragma once
// TPultControl: a panel line, one M50 panel by its one-byte address on a serial port. The link
// (frames, reads, the direct exchange) is TPultLink's; this class adds the port sharing, the
// speed hunting, the polling state and one polling step, ServePult.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

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
    bool repeatedLossReport = true;  // a new command on a silent line reports the loss again
    bool resetRequests = true;       // ResetPultBuffer and a panel restart make the asked number current
    bool repeatOnAnyErrorAnswer = false;  // the first send takes no error answer as an answer
    bool huntSpeed = true;
    bool resyncAfterFailure = true;
    bool stepLog = true;
    bool plainNumberWrap = false;  // the next number is always current + 1 modulo 65536
};

class TPultControl : public TPortControl {
public:
    // How long a direct exchange waits for the port lock before it gives up.
    static constexpr uint32_t kDirectLockWaitMs = 1300;
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

    using PollRules = PultPollRules;
    static PollRules GatewayRules() {
        return {.restoreCountdownStart = 0, .repeatedLossReport = false, .resetRequests = false,
                .repeatOnAnyErrorAnswer = true, .huntSpeed = false, .resyncAfterFailure = false,
                .stepLog = false, .plainNumberWrap = true};
    }

    TPultControl(int line, uint8_t address, tessel::Clock &clock = tessel::SteadyClock::instance(),
                 PollRules rules = {});
    // Stores the message number, leaves the port (waiting for a step in progress to end) and
    // stops the port's polling thread with the last line. A step delivers on the polling
    // thread, so the line's own window procedure or callback must not destroy it (CloseCom).
    ~TPultControl() override;

    // Joins the panel line already open on the same port name, or opens the port and starts
    // its polling thread. False when the port cannot be opened (after the message box) or the
    // address slot of the port is taken.
    bool InitCom(const std::string &port, int line) override;
    // Applies the line's speed mode to the port again.
    bool ReInitCom() override;
    // Internal frames switch message polling (0x66 on, 0x65 off; others give -1). Any other
    // frame is signed and queued; the result is the queue's free places.
    int SendComMsg(const PanelFrame &frame, int priority) override;
    int32_t answerCounter() const override { return link_ ? link_->answerCounter() : 0; }

    // Joins an open port as its owner (the line that opened it) or as a borrower. InitCom
    // uses it; tests use it with a fake port and drive the steps themselves.
    bool JoinPort(std::shared_ptr<TPanelPort> port, bool owner);

    // One polling step; the caller holds the port lock and delivers the records afterwards.
    StepRecords ServePult();
    void ResyncLine() { link_->ResyncLine(); }
    void SetConnParam();
    // Next speed mode (or the fixed one of the line's Speeds setting), stored for the line.
    // The caller holds the port lock; ChangePultModeLocked takes it (false when it stayed busy).
    void ChangePultMode();
    bool ChangePultModeLocked();
    // The direct exchange under the port lock; reply is always filled (code 0x65 when the
    // panel is silent or the port lock stayed busy for kDirectLockWaitMs).
    void SendCmdGetRepl(const PanelFrame &command, EventRecord &reply);
    void TransmitMsg(const PanelFrame &frame) { link_->TransmitMsg(frame); }
    bool GetAnswer(PanelFrame &buffer) { return link_->GetAnswer(buffer); }

    uint8_t address() const { return address_; }
    tessel::Clock &clock() const { return clock_; }
    bool portOwner() const { return portOwner_; }
    TPanelPort *panelPort() const { return port_.get(); }
    // Held by the polling thread from picking the line for a step to its last delivery.
    std::mutex &servingMutex() { return servingMutex_; }
    const std::shared_ptr<TPanelPort> &sharedPanelPort() const { return port_; }
    // The next message or status answer delivered makes the requested number current. False
    // on a line kind without reset requests.
    bool RequestReset() {
        if (!rules_.resetRequests) return false;
        if (link_) link_->setResetRequest(true);
        return true;
    }

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

private:
    // A borrowed line follows the mode the port owner switched the port to.
    void followPortMode();
    EventRecord internalRecord(const PanelFrame &frame) const { return link_->InternalReply(frame); }
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
    const PollRules rules_;
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
