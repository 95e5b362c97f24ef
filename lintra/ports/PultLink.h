#pragma once
// TPultLink: the serial link of one panel line: writing a frame in the line's speed mode,
// reading an answer frame, the direct command/answer exchange, and the line's exchange
// counters. It runs over an injected Port and Clock; the port lock, the speed hunting and the
// line table belong to the line object that owns it. A panel on another wire overrides the
// frame writing and reading.
#include <atomic>
#include <cstdint>
#include <functional>

#include "lintra/host/Port.h"
#include "lintra/ports/EventRecord.h"
#include "lintra/ports/LocalTime.h"
#include "lintra/ports/PanelFrame.h"
#include "platform/Clock.h"

namespace lintra {

class TPultLink {
public:
    // Port time-outs of a panel line: read interval 200 ms, read total 20 ms per byte + 1000 ms,
    // write total 10 ms per byte + 50 ms.
    static constexpr PortTimeouts kTimeouts{200, 20, 1000, 10, 50};
    static constexpr uint32_t kDirectFirstByteMs = 2000;

    enum class Outcome { Answered, NoAnswer, ErrorAnswer };
    struct DirectReply {
        Outcome outcome;
        EventRecord record;  // line number set; what the caller's reply area receives
    };

    // Saves the line state; true on success. Called on every 256th frame sent.
    using SaveState = std::function<bool()>;

    TPultLink(Port &port, tessel::Clock &clock, int line, uint8_t address);
    virtual ~TPultLink() = default;
    TPultLink(const TPultLink &) = delete;
    TPultLink &operator=(const TPultLink &) = delete;

    // Applies speed mode 0..2 to the port (DTR off; RTS is raised around every burst of bytes).
    virtual void SetConnParam(uint8_t mode);
    uint8_t speedMode() const { return mode_; }

    // Sends a frame whose checksum is already set: in modes 0 and 2 the first byte with the
    // parity bit set, the rest with it clear. A frame shorter than 2 bytes is not sent.
    virtual void TransmitMsg(const PanelFrame &frame);
    // Reads one frame into buffer (pre-filled with 0xEE). False when no first byte with a
    // usable length came or the rest stayed short; the port is then purged and the line pauses
    // 500 ms. The checksum is not checked here.
    virtual bool GetAnswer(PanelFrame &buffer);
    // Logs the counters and sends 20 zero bytes to bring the panel's receiver back in step.
    void ResyncLine();
    // Sends the command (checksum set here), reads the reply with one repeat, and makes the
    // reply record. With an outcome other than Answered the record carries code 0x65 (no reply)
    // or 3 and the panel's error code.
    DirectReply SendCmdGetRepl(PanelFrame command);
    // A record made from an internal frame, with this line's number.
    EventRecord InternalReply(const PanelFrame &internal) const;

    void setSaveState(SaveState saveState) { saveState_ = std::move(saveState); }
    void setAddress(uint8_t address) { address_ = address; }

    // Counters: positive answer counter = consecutive good reads, negative = consecutive failures.
    int32_t sends() const { return sends_; }
    int32_t noAnswers() const { return noAnswers_; }
    int32_t errorAnswers() const { return errorAnswers_; }
    int32_t answerCounter() const { return answerCounter_; }
    void countNoAnswer() { ++noAnswers_; }
    void countErrorAnswer() { ++errorAnswers_; }

    // Set when an answer to the 'W' poll reports a panel restart (byte 5 = 29), and by clients.
    bool resetRequest() const { return resetRequest_; }
    void setResetRequest(bool on) { resetRequest_ = on; }

    // The last record made from an answer on this line; answers are decoded into it in place.
    EventRecord &lastRecord() { return lastRecord_; }

private:
    // The read log lines of the two readers differ in their blanks; both are kept as they are.
    struct ReadTexts {
        const char *op;
        const char *restCallEnd;
        const char *restResultSep;
    };
    static const ReadTexts kAnswerTexts;
    static const ReadTexts kDirectTexts;
    struct Reply {
        bool came;
        PanelFrame frame;
    };

    template <typename Send>
    void withRts(Send &&send);
    // frame.length() must be 2 or more; both callers refuse shorter frames first.
    void writeFrame(const PanelFrame &frame, const char *op);
    void writeLogged(const char *op, const uint8_t *data, size_t count, const PanelFrame &frame);
    int readLogged(const ReadTexts &texts, uint8_t *data, size_t count);
    struct FrameRead {
        int firstCount = 0;
        bool validFirst = false;  // a first byte announcing a frame of 2..15 bytes came
        int restCount = 0;
        bool complete = false;
    };
    // First byte (with the read total constant firstByteConstantMs when non-zero), then the
    // rest its length announces, never more than the 16-byte buffer holds.
    FrameRead readFrame(const ReadTexts &texts, uint32_t firstByteConstantMs, PanelFrame &buffer);
    void noteRead(bool good);
    Reply directAttempt(const PanelFrame &command);

    Port &port_;
    tessel::Clock &clock_;
    const int line_;
    uint8_t address_;
    SaveState saveState_;
    uint8_t mode_ = 0;
    std::atomic<int32_t> sends_{0};
    std::atomic<int32_t> noAnswers_{0};
    std::atomic<int32_t> errorAnswers_{0};
    std::atomic<int32_t> answerCounter_{0};
    std::atomic<bool> resetRequest_{false};
    EventRecord lastRecord_{};
};

}  // namespace lintra
