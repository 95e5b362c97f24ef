#pragma once
// TNXDriver: the library's side of the NCX controller link. It brings the link up (HandShake:
// start notice or reset, password, firmware version, line configuration), keeps it alive
// (the firmware question after a long silence, the poll pace), and routes the controller's
// packets to itself (line F) or to the line at the packet's line number. The transport below
// (TCP or serial) comes from a subclass.
//
// Threads: passes, HandShake and everything they call run on the driver thread under the pass
// lock. Clients reach the link (connect, disconnect, raw send, password) under the same lock,
// and queue system commands through the self-locking system queue.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "lintra/nx/CommDriver.h"
#include "lintra/nx/NXCommBuff.h"
#include "lintra/nx/NXLineConfig.h"
#include "lintra/nx/NXMsg.h"
#include "lintra/nx/NXMsgQueue.h"

namespace lintra::nx {

class TNXDriver : public TCommDriver {
public:
    enum Flag : int32_t {
        flLinkUp = 1,
        flServeLines = 2,  // lines may send; cleared while a system command awaits its answer
        flSysPending = 4,
    };
    static constexpr uint32_t kAnswerWaitMs = 4000;
    static constexpr uint32_t kRetryMs = 3000;
    static constexpr uint32_t kReadWaitMs = 20;
    // The longest wait for input of a connected driver with nothing to do: no line attached,
    // no system command queued, no answer or keep-alive due sooner.
    static constexpr uint32_t kIdleWaitMs = 1000;
    static constexpr uint32_t kConfigHoldMs = 1000;  // reading on after the configuration matched
    static constexpr uint32_t kRefusedPasswordPauseMs = 5000;
    static constexpr int kSysQueuePlaces = 100;
    static constexpr int32_t kPasswordChars = 16;

    ~TNXDriver() override;
    int32_t DoCmd(int32_t cmd, intptr_t p1, intptr_t p2) override;
    bool Init(const TParamList *params) override;
    int32_t AddLine(TCommLine *line, int32_t slot) override;
    // Already connected: true. Otherwise HandShake over the open transport; on success the
    // lines hear of the connection.
    bool Connect() override;
    bool Disconnect() override;
    bool ReadPkt(TCommBuff &buffer) override { return ReadPktWithin(buffer, kReadWaitMs); }
    // A suspend request cuts short the wait between passes.
    bool Stop() override;
    bool SendPkt(TCommBuff &buffer) override;
    int32_t ProcessPkt(TCommBuff &buffer) override;

    virtual bool HandShake();
    // One complete packet into buffer within timeoutMs.
    bool WaitPkt(TNXCommBuff &buffer, uint32_t timeoutMs);
    // One step of the system-command engine; negative: drop the link.
    int32_t Serve();
    // A packet of the controller itself.
    int32_t Ev_ReadPkt(TNXCommBuff &buffer);
    // 0 queued, -1 not (link down, queue full).
    int32_t SendSysCmd(const TNXMsg &msg);
    // Asks the controller for the poll pace 0..255 unless it is the pace asked for last.
    int32_t SetQryDelay(int32_t value);

    int32_t Flags() const { return flags_.load(); }
    int32_t QryDelay() const;
    // Driver thread, or under the pass lock.
    const std::string &FirmwareVersion() const { return firmware_; }
    int32_t PacketCounter() const { return packetCounter_; }
    int SystemQueueCount() { return sysQueue_.Count(); }

protected:
    explicit TNXDriver(tessel::Clock &clock);
    void LogCreate() override;
    // ReadPkt with a bound of the transport's own wait.
    virtual bool ReadPktWithin(TCommBuff &buffer, uint32_t waitMs) = 0;
    uint32_t DrvExecute() override;
    void DrvEnd() override;
    void EndThread() override;

    // Sends a fixed packet text followed by CR.
    bool SendText(std::string_view packet);
    // Logs bytes of the link with the password of a password packet masked.
    void LogBytes(int level, std::string_view text, const uint8_t *bytes, int32_t length) const;
    // The transport opened (true) or closed; WaitPkt gives up at once on a closed one.
    void SetLinkOpen(bool open) { linkOpen_ = open; }
    // The current line configuration of the attached lines.
    std::array<uint8_t, kConfigSlots> LineConfig();
    void MarkLinkUp();
    void ClearSystemQueue();
    // A complete packet came: the silence before the keep-alive question starts again.
    void NoteReceived() { lastReceiveMs_ = Clock().nowMs(); }

    TNXCommBuff rcvBuf_;  // the driver thread's receive buffer
    // Ends the wait between passes early: work came from another thread.
    void Wake();
    // The descriptor Wake makes readable, for the wait between passes.
    int WakeHandle() const { return wakeFd_; }
    // How long the wait between passes may last, decided at the end of the last pass.
    uint32_t PassWaitMs() const { return passWaitMs_; }
    // Set by AwaitPass when it already waited for input, so the pass reads without waiting.
    bool awaited_ = false;

private:
    enum class Password { Accepted, Refused };
    Password SendPassword();
    bool GiveUp();
    // HandShake steps; false ends the attempt.
    bool ExpectStartNotice();
    bool ReadFirmware();
    bool AskConfiguration();
    bool LoadConfiguration();
    bool ServeNextLine();
    // The wait before the next pass: short while lines are served, up to the next deadline
    // of the system-command engine otherwise.
    uint32_t NextPassWaitMs();
    void ServeAllLines();
    std::string PasswordText();

    // Settings (Init).
    uint32_t rplSysTimeoutMs_ = 4000;
    uint32_t silentWarnMs_ = 10000;
    uint32_t firstLostWaitMs_ = 15000;
    uint32_t firstResetInfoWaitMs_ = 2000;

    std::atomic<int32_t> flags_{0};
    std::string password_;  // under the pass lock
    TNXMsgQueue sysQueue_{kSysQueuePlaces};
    uint64_t sysDeadlineMs_ = 0;
    TNXMsg sysCmd_{};  // the system command awaiting its answer
    TNXCommBuff sndBuf_{0, TNXCommBuff::kControllerLine};
    uint64_t lastReceiveMs_ = 0;
    bool everConnected_ = false;
    bool firstLossReported_ = false;
    std::atomic<bool> shutdownSent_{false};
    int32_t packetCounter_ = 0;  // packets sent since the last connection
    std::string firmware_;
    mutable std::mutex paceMutex_;
    int32_t pace_ = 0;  // under paceMutex_
    bool linkOpen_ = false;
    // The pass loop's own state.
    bool begun_ = false;
    uint64_t startMs_ = 0;
    bool attempted_ = false;  // a failed connection attempt, at lastAttemptMs_
    uint64_t lastAttemptMs_ = 0;
    int32_t lastServedSlot_ = kLineSlots - 1;
    uint32_t passWaitMs_ = kReadWaitMs;
    const int wakeFd_;
};

}  // namespace lintra::nx
