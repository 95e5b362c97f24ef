// The start-up exchange of TNXDriver: start notice (or a reset), firmware version, password
// when the controller asks for it, and the line configuration, read back until it matches.
#include <cstring>
#include <string_view>

#include "lintra/nx/NXDriver.h"
#include "lintra/nx/NXSystemPackets.h"

namespace lintra::nx {
namespace {

using namespace packets;

constexpr uint32_t kMismatchPauseMs = 100;
constexpr uint32_t kGiveUpPauseMs = 50;

// Exact, character by character, over the length of the text.
bool Begins(const TNXCommBuff &packet, std::string_view text) {
    return packet.length >= static_cast<int32_t>(text.size()) && std::memcmp(packet.data, text.data(), text.size()) == 0;
}

// The code of a packet that was only read, not parsed.
bool CodeIs(const TNXCommBuff &packet, std::string_view code) {
    return packet.length >= 8 && std::memcmp(packet.data + 4, code.data(), 4) == 0;
}

}  // namespace

bool TNXDriver::GiveUp() {
    Disconnect();
    rcvBuf_.Clear();
    Pause(kGiveUpPauseMs);
    return false;
}

TNXDriver::Password TNXDriver::SendPassword() {
    uint8_t packet[kPassword.size() + kPasswordChars + 1] = {};
    std::memcpy(packet, kPassword.data(), kPassword.size());
    const std::string password = password_.substr(0, kPasswordChars);
    std::memcpy(packet + kPassword.size(), password.data(), password.size());
    packet[sizeof packet - 1] = '\r';
    if (SendBuf(packet, sizeof packet) == 0 && WaitPkt(rcvBuf_, kAnswerWaitMs) && Begins(rcvBuf_, kPasswordAccepted))
        return Password::Accepted;
    LogText(2, "TNXDriver.Connect:: Неверный пароль!");
    return Password::Refused;
}

// False after a reset: the controller restarts and announces itself to the next attempt.
bool TNXDriver::ExpectStartNotice() {
    if (WaitPkt(rcvBuf_, firstResetInfoWaitMs_) && CodeIs(rcvBuf_, "E102")) return true;
    LogText(4, "TNXDriver.Connect:: Даём NCX команду сброса");
    if (SendText(kReset) && WaitPkt(rcvBuf_, kAnswerWaitMs) && Begins(rcvBuf_, kPasswordRequired)) {
        if (SendPassword() == Password::Accepted) {
            if (SendText(kReset)) WaitPkt(rcvBuf_, kAnswerWaitMs);
        } else {
            Pause(kRefusedPasswordPauseMs);
        }
    }
    firstLossReported_ = true;
    return false;
}

bool TNXDriver::ReadFirmware() {
    if (!SendText(kAskFirmware) || !WaitPkt(rcvBuf_, kAnswerWaitMs) || !rcvBuf_.ParseHeader() ||
        std::memcmp(rcvBuf_.code, "A109", 4) != 0) {
        LogBytes(3, "TNXDriver.Connect:: Ошибка при получении номера версии", rcvBuf_.data, rcvBuf_.length);
        return false;
    }
    firmware_.assign(reinterpret_cast<const char *>(rcvBuf_.Data()), static_cast<size_t>(rcvBuf_.dataLength));
    LogText(5, "TNXDriver.Connect:: Версия прошивки = " + firmware_);
    return true;
}

bool TNXDriver::AskConfiguration() {
    if (!SendText(kAskConfig) || !WaitPkt(rcvBuf_, kAnswerWaitMs)) return false;
    if (!Begins(rcvBuf_, kPasswordRequired) || SendPassword() == Password::Accepted) return true;
    Pause(kRefusedPasswordPauseMs);
    return false;
}

bool TNXDriver::LoadConfiguration() {
    const auto config = LineConfig();
    std::string setConfig(kSetConfig);
    setConfig.append(config.begin(), config.end());
    if (!SendText(setConfig)) return false;
    WaitPkt(rcvBuf_, kAnswerWaitMs);
    if (!SendText(kAskConfig)) return false;
    const uint64_t asked = Clock().nowMs();
    uint64_t end = asked + kAnswerWaitMs;
    bool matched = false;
    while (Clock().nowMs() < end) {
        if (!WaitPkt(rcvBuf_, static_cast<uint32_t>(end - Clock().nowMs()))) {
            if (Terminated() || !linkOpen_) return false;
            continue;
        }
        if (!Begins(rcvBuf_, kConfigAnswer)) {
            LogBytes(3, "TNXDriver.Connect:: Непонятный ответ на вопрос G101", rcvBuf_.data, rcvBuf_.length);
            continue;
        }
        const bool same = rcvBuf_.length >= static_cast<int32_t>(kConfigAnswer.size() + config.size()) &&
                          std::memcmp(rcvBuf_.data + kConfigAnswer.size(), config.data(), config.size()) == 0;
        if (!same) {
            LogText(2, "TNXDriver.Connect:: Конфигурация не загружается!");
            Pause(kMismatchPauseMs);
            return false;
        }
        matched = true;
        end = asked + kConfigHoldMs;
    }
    return matched;
}

bool TNXDriver::HandShake() {
    ClearSystemQueue();
    if (!ExpectStartNotice() || !ReadFirmware() || !AskConfiguration() || !LoadConfiguration()) return GiveUp();
    LogText(6, "TNXDriver.Connect:: Начальные установки прошли");
    MarkLinkUp();
    return true;
}

}  // namespace lintra::nx
