#include "lintra/nx/NXDriver.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/CommLine.h"
#include "lintra/nx/NXMsgCodec.h"
#include "lintra/nx/NXRoute.h"
#include "lintra/nx/NXSystemPackets.h"
#include "lintra/runtime/CharFunc.h"
#include "lintra/runtime/Logger.h"

namespace lintra::nx {
namespace {

std::string_view CodeOf(const TNXMsg &msg) { return {msg.code, sizeof msg.code}; }

uint32_t Setting(const TParamList &params, std::string_view key, uint32_t fallback) {
    return static_cast<uint32_t>(std::max<int32_t>(0, params.IntValue(key, static_cast<int32_t>(fallback))));
}

}  // namespace

TNXDriver::TNXDriver(tessel::Clock &clock)
    : TCommDriver(clock), wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

TNXDriver::~TNXDriver() {
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

void TNXDriver::Wake() {
    const uint64_t one = 1;
    if (wakeFd_ >= 0) [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
}

bool TNXDriver::Stop() {
    TCommDriver::Stop();
    Wake();
    return true;
}

void TNXDriver::LogCreate() { LogText(5, "TNXDriver.Create:: Тип Orvel-Ethernet/ВРТ-3"); }

void TNXDriver::LogBytes(int level, std::string_view text, const uint8_t *bytes, int32_t length) const {
    TLogger *log = Log();
    if (!log || !log->Enabled(level) || length < 0) return;
    std::vector<uint8_t> shown(bytes, bytes + length);
    const size_t header = packets::kPassword.size();
    if (shown.size() >= header && std::memcmp(shown.data(), packets::kPassword.data(), header) == 0) {
        const size_t end = std::min(shown.size(), header + static_cast<size_t>(kPasswordChars));
        std::fill(shown.begin() + static_cast<std::ptrdiff_t>(header), shown.begin() + static_cast<std::ptrdiff_t>(end),
                  static_cast<uint8_t>('*'));
    }
    log->WriteDump(level, text, length, shown.data(), dfHex | dfChars);
}

bool TNXDriver::Init(const TParamList *params) {
    TCommDriver::Init(params);
    password_ = Params().Value("Password").value_or("");
    rplSysTimeoutMs_ = Setting(Params(), "RplSysTimeout", 4000);
    silentWarnMs_ = Setting(Params(), "SilentWarn", 10000);
    firstLostWaitMs_ = Setting(Params(), "FirstLostWait", 15000);
    firstResetInfoWaitMs_ = Setting(Params(), "FirstResetInfoWait", 2000);
    return true;
}

int32_t TNXDriver::DoCmd(int32_t cmd, intptr_t p1, intptr_t p2) {
    switch (cmd) {
    case CD_Shutdown:
        if (!shutdownSent_.exchange(true)) NotifyLines(TCommLine::evShutdown, nullptr);
        return 0;
    case CD_SetPassword: {
        if (p1 == 0) return kNoObject;
        const char *text = reinterpret_cast<const char *>(p1);
        const std::string password(text, strnlen(text, 256));
        TPassGuard hold(PassLock());
        password_ = password;
        SetParam("Password", password);
        return 0;
    }
    case CD_SetQryDelay: {
        int64_t pace = std::clamp<int64_t>(p1, INT32_MIN, INT32_MAX);
        ForEachLine([&](TCommLine &line) { pace = std::min<int64_t>(pace, line.DoCmd(CD_GetQryDelay, 0, 0)); });
        return SetQryDelay(static_cast<int32_t>(pace));
    }
    case CD_SendBuf:
    case CD_Connect:
    case CD_Disconnect: {
        TPassGuard hold(PassLock());
        return TCommDriver::DoCmd(cmd, p1, p2);
    }
    default:
        return TCommDriver::DoCmd(cmd, p1, p2);
    }
}

int32_t TNXDriver::AddLine(TCommLine *line, int32_t slot) {
    TPassGuard hold(PassLock());
    const int32_t attached = TCommDriver::AddLine(line, slot);
    // The controller learns of the new line at the next HandShake.
    if (attached >= 0 && Connected()) Disconnect();
    Wake();
    return attached;
}

bool TNXDriver::Connect() {
    if (Connected()) return true;
    packetCounter_ = 0;
    if (!HandShake()) return false;
    NotifyLines(TCommLine::evConnect, nullptr);
    everConnected_ = true;
    return true;
}

bool TNXDriver::Disconnect() {
    LogText(6, "TNXDriver.Disconnect");
    flags_.fetch_and(~flLinkUp);
    if (Connected() || (!everConnected_ && !firstLossReported_)) NotifyLines(TCommLine::evDisconnect, nullptr);
    SetConnected(false);
    linkOpen_ = false;
    Wake();  // a client's disconnect ends the wait on the closed link at once
    return true;
}

void TNXDriver::MarkLinkUp() {
    SetConnected(true);
    flags_.fetch_or(flLinkUp | flServeLines);
    NoteReceived();
}

void TNXDriver::ClearSystemQueue() {
    sysQueue_.Clear();
    flags_.fetch_and(~flSysPending);
}

std::array<uint8_t, kConfigSlots> TNXDriver::LineConfig() {
    std::array<int32_t, kConfigSlots> digits;
    digits.fill(-1);
    ForEachLine([&](TCommLine &line) {
        const int32_t slot = line.LineNumber();
        if (slot >= 0 && slot < kConfigSlots) digits[static_cast<size_t>(slot)] = line.TypeDigit();
    });
    return LineConfiguration(digits);
}

bool TNXDriver::SendText(std::string_view packet) {
    std::vector<uint8_t> bytes(packet.begin(), packet.end());
    bytes.push_back('\r');
    return SendBuf(bytes.data(), static_cast<int32_t>(bytes.size())) == 0;
}

bool TNXDriver::SendPkt(TCommBuff &buffer) {
    auto *packet = dynamic_cast<TNXCommBuff *>(&buffer);
    if (!packet) return false;
    if (!packet->BuildHeader()) {
        LogBytes(6, "TNXDriver.SendPkt:: Ошибка формирования заголовка #" + std::to_string(packet->error),
                 packet->data, packet->length);
        return false;
    }
    ++packetCounter_;
    LogBytes(8, "TNXDriver.SendPkt[" + std::to_string(packetCounter_) + "]", packet->data, packet->length);
    packet->AppendCR();
    if (SendBuf(packet->data, packet->length) == 0) return true;
    Disconnect();
    return false;
}

bool TNXDriver::WaitPkt(TNXCommBuff &buffer, uint32_t timeoutMs) {
    constexpr uint32_t kAttemptMs = 100;
    LogText(8, "TNXDriver.WaitPkt " + std::to_string(timeoutMs));
    buffer.Clear();
    const uint64_t deadline = Clock().nowMs() + timeoutMs;
    for (;;) {
        if (!linkOpen_ || Terminated()) return false;
        const uint64_t start = Clock().nowMs();
        const uint32_t attempt = static_cast<uint32_t>(std::min<uint64_t>(kAttemptMs, deadline - std::min(deadline, start)));
        if (ReadPktWithin(buffer, attempt)) return true;
        const uint64_t now = Clock().nowMs();
        if (now >= deadline) return false;
        // A transport that answered at once (a closed link) must not make this a busy loop.
        const uint64_t used = now - start;
        if (used < attempt) Pause(static_cast<uint32_t>(attempt - used));
    }
}

int32_t TNXDriver::ProcessPkt(TCommBuff &buffer) {
    auto *packet = dynamic_cast<TNXCommBuff *>(&buffer);
    if (!packet) return -1;
    const TNXRoute route = RoutePacket(*packet);
    switch (route.target) {
    case TNXRoute::Refused:
        LogText(6, "TNXDriver.ProcessPkt:: Ошибка разборки заголовка #" + std::to_string(packet->error));
        return -1;
    case TNXRoute::Controller:
        Ev_ReadPkt(*packet);
        return 0;
    case TNXRoute::Line:
        if (TCommLine *line = Line(route.line)) return line->Ev_ReadPkt(*packet);
        LogText(6, "TNXDriver.ProcessPkt:: Ошибка в номере линии");
        return -1;
    }
    return -1;
}

int32_t TNXDriver::Ev_ReadPkt(TNXCommBuff &buffer) {
    if (buffer.kind != 1) {
        LogBytes(2, "TNXDriver.Ev_ReadPkt::Ошибка в протоколе", buffer.data, buffer.length);
        return -1;
    }
    TNXMsg msg{};
    if (!DecodeMsg(buffer, msg)) {
        LogText(2, "TNXDriver.Ev_ReadPkt::Ошибка разборки пакета");
        return -1;
    }
    if (!(flags_.load() & flSysPending)) {
        LogText(6, "TNXDriver.Ev_ReadPkt::Ответ без вопроса");
        return 0;
    }
    LogText(7, "TNXDriver.Ev_ReadPkt::Ответ на системную команду");
    flags_.fetch_and(~flSysPending);
    flags_.fetch_or(flServeLines);
    if (msg.code[0] != 'E') return 0;
    LogText(2, "TNXDriver.Ev_ReadPkt::Ошибка выполнения команды");
    return -1;
}

int32_t TNXDriver::Serve() {
    const uint64_t now = Clock().nowMs();
    if (flags_.load() & flSysPending) {
        if (now < sysDeadlineMs_) return 0;
        LogBytes(2, "TNXDriver.Serve:: Таймаут для системной команды", sysCmd_.data,
                 std::clamp(sysCmd_.count, 0, kNXMsgDataBytes));
        return -1;
    }
    if (now - std::min(now, lastReceiveMs_) > silentWarnMs_) {
        if (sysQueue_.Count() == 0) {
            LogText(8, "TNXDriver.Serve::Длинная тишина на приёме, опрашиваем состояние");
            SendSysCmd(MakeNXMsg("G109", TNXCommBuff::kControllerLine));
        }
        lastReceiveMs_ = now;
        return 0;
    }
    if (sysQueue_.Count() == 0) return 0;
    TNXMsg msg{};
    if (!sysQueue_.Peek(msg)) {
        LogText(2, "TNXDriver.Serve::Внутренняя ошибка");
        return -1;
    }
    LogBytes(7, "TNXDriver.Serve::Из системной очереди CMD=" + std::string(CodeOf(msg)), msg.data,
             std::clamp(msg.count, 0, kNXMsgDataBytes));
    sndBuf_.Clear();
    sndBuf_.line = msg.unit;
    // A message without a packet form would head the queue for ever: it goes.
    if (!EncodeMsg(msg, sndBuf_)) {
        sysQueue_.Drop();
        return -1;
    }
    sysCmd_ = msg;
    if (!SendPkt(sndBuf_)) return -1;
    flags_.fetch_or(flSysPending);
    flags_.fetch_and(~flServeLines);
    sysQueue_.Drop();
    sysDeadlineMs_ = Clock().nowMs() + rplSysTimeoutMs_;
    return 0;
}

int32_t TNXDriver::SendSysCmd(const TNXMsg &msg) {
    LogBytes(7, "TNXDriver.SendSysCmd:: CMD=" + std::string(CodeOf(msg)), msg.data,
             std::clamp(msg.count, 0, kNXMsgDataBytes));
    if (!Connected()) {
        LogText(7, "TNXDriver.SendSysCmd:: Нет связи");
        Pause(50);
        return -1;
    }
    if (!sysQueue_.Put(msg)) {
        LogText(2, "TNXDriver.SendSysCmd:: Очередь полна");
        return -1;
    }
    Wake();
    return 0;
}

int32_t TNXDriver::SetQryDelay(int32_t value) {
    if (value < 0 || value > 255) return -1;
    std::lock_guard lock(paceMutex_);
    if (value == pace_) return 0;
    LogText(7, "TNXDriver.SetQryDelay::Устанавливаем темп опроса " + std::to_string(pace_) + "->" +
                   std::to_string(value));
    const uint8_t byte = static_cast<uint8_t>(value);
    // Only a pace the controller was really asked for becomes the current one, so a pace asked
    // while the link is down is asked again later.
    if (SendSysCmd(MakeNXMsg("S10A", TNXCommBuff::kControllerLine, {&byte, 1})) == 0) pace_ = value;
    return 0;
}

int32_t TNXDriver::QryDelay() const {
    std::lock_guard lock(paceMutex_);
    return pace_;
}

void TNXDriver::ServeAllLines() {
    for (int32_t slot = 0; slot < kLineSlots; ++slot) {
        if (TCommLine *line = Line(slot)) line->Serve();
    }
}

bool TNXDriver::ServeNextLine() {
    for (int32_t step = 1; step <= kLineSlots; ++step) {
        const int32_t slot = (lastServedSlot_ + step) % kLineSlots;
        TCommLine *line = Line(slot);
        if (!line) continue;
        lastServedSlot_ = slot;
        return line->Serve() >= 0;
    }
    return true;
}

uint32_t TNXDriver::DrvExecute() {
    const uint64_t now = Clock().nowMs();
    if (!begun_) {
        LogText(6, "TNXDriver.DrvExecute:: BEGIN");
        begun_ = true;
        startMs_ = now;
    }
    if (!Connected()) {
        awaited_ = false;
        if (!everConnected_ && !firstLossReported_ && now - startMs_ > firstLostWaitMs_) {
            Disconnect();
            firstLossReported_ = true;
        }
        ServeAllLines();
        if (attempted_ && now - lastAttemptMs_ < kRetryMs) return 100;
        if (Terminated()) return 0;
        if (Connect()) return 0;
        attempted_ = true;
        lastAttemptMs_ = Clock().nowMs();
        return 100;
    }
    const uint32_t readWait = awaited_ ? 0 : kReadWaitMs;
    awaited_ = false;
    // After a drop the pass ends: the link is gone for the lines and the reader alike.
    if (Serve() < 0) return Disconnect(), 0;
    if ((flags_.load() & flServeLines) && !ServeNextLine()) return Disconnect(), 0;
    if (ReadPktWithin(rcvBuf_, readWait)) {
        const int32_t routed = ProcessPkt(rcvBuf_);
        rcvBuf_.Clear();
        if (routed < 0) Disconnect();
    }
    passWaitMs_ = NextPassWaitMs();
    return 0;
}

uint32_t TNXDriver::NextPassWaitMs() {
    bool lines = false;
    ForEachLine([&](TCommLine &) { lines = true; });
    if (lines) return kReadWaitMs;
    if (sysQueue_.Count() > 0) return 0;
    const uint64_t now = Clock().nowMs();
    const uint64_t due = (flags_.load() & flSysPending) ? sysDeadlineMs_ : lastReceiveMs_ + silentWarnMs_ + 1;
    return static_cast<uint32_t>(std::clamp<uint64_t>(due - std::min(due, now), 1, kIdleWaitMs));
}

void TNXDriver::DrvEnd() {
    // Decided once the passes are over: the lines go only after the thread has ended.
    bool lineOpen = false;
    ForEachLine([&](TCommLine &line) { lineOpen = lineOpen || line.Open(); });
    const bool finalReset = Params().IntValue("FinalReset", 0) > 0 || lineOpen;
    if (Connected() && finalReset) {
        LogText(6, "TNXDriver.DrvExecute:: Execute NCX resetting");
        SendText(packets::kReset);
    }
    Disconnect();
    LogText(6, "TNXDriver.DrvExecute:: END");
}

// The thread is told to end before anything waits for the pass lock, so a start-up exchange in
// progress gives up at its next wait instead of running to its end.
void TNXDriver::EndThread() {
    LogText(6, "TNXDriver.Destroy");
    Wake();
    TCommDriver::EndThread();
    LogText(6, GetState() == stFinished ? "TNXDriver.Destroy:: Finished" : "TNXDriver.Destroy:: Not finished");
}

}  // namespace lintra::nx
