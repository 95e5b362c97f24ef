#pragma once
// An NX driver over a scripted link and a manual clock: the controller is a small model that
// answers each line the driver sends, and a read that finds nothing moves the clock by its
// wait, so start-up exchanges with their 2 s and 4 s waits run in microseconds.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lintra/nx/NXLinkDriver.h"
#include "platform/Clock.h"

namespace lintra::nx::test {

// The controller's side of the exchange, as simple as the tests need.
struct ControllerModel {
    bool startNotice = true;                // "E102" on every new connection
    std::optional<std::string> password;    // asked at G101 until given
    bool refusePassword = false;
    std::string version = "NCX 2.07";
    std::optional<std::string> configEcho;  // answer G101 with this instead of the loaded one
    bool silent = false;                    // answers nothing
    bool reachable = true;                  // false: the link does not open

    bool authorised = false;
    std::string config = std::string(16, '9');
    std::vector<std::string> heard;  // every line the controller received, over all links

    std::vector<std::string> OnConnect() {
        authorised = false;
        return startNotice ? std::vector<std::string>{"T1LFE102D00"} : std::vector<std::string>{};
    }

    std::vector<std::string> Answer(const std::string &line) {
        heard.push_back(line);
        if (silent) return {};
        const std::string head = line.substr(0, 11);
        if (head == "T0LFS109D00") {
            if (password && !authorised) return {"T1LFE107D00"};
            return OnConnect();
        }
        if (head == "T0LFG109D00") return {"T1LFA109D" + Hex2(version.size()) + version};
        if (head == "T0LFS10CD10") {
            authorised = password && !refusePassword && line.substr(11) == Padded(*password);
            return {authorised ? "T1LFA10CD00" : "T1LFE10CD00"};
        }
        if (password && !authorised && (head == "T0LFG101D00" || head == "T0LFS101D10")) return {"T1LFE107D00"};
        if (head == "T0LFG101D00") return {"T1LFA101D10" + configEcho.value_or(config)};
        if (head == "T0LFS101D10") {
            config = line.substr(11);
            return {"T1LFA101D00"};
        }
        if (head.substr(0, 8) == "T0LFS10A") return {"T1LFA10AD00"};
        if (head == "T0LFG108D00") return {"T1LFA108D00"};
        return {};
    }

    static std::string Hex2(size_t value) {
        const char *digits = "0123456789ABCDEF";
        return {digits[(value >> 4) & 15], digits[value & 15]};
    }
    static std::string Padded(const std::string &password) {
        std::string padded = password.substr(0, 16);
        padded.resize(16, '\0');
        return padded;
    }
};

class ScriptedLink final : public TNXLink {
public:
    ScriptedLink(tessel::ManualClock &clock, ControllerModel &controller) : clock_(clock), controller_(controller) {}

    void Open() {
        open_ = true;
        input_.clear();
        for (const std::string &line : controller_.OnConnect()) Push(line + "\r");
    }
    // Bytes that arrive without being asked for.
    void Push(const std::string &bytes) { input_.push_back(bytes); }
    // The controller goes away: the next read fails.
    void Drop() { dropped_ = true; }

    int Receive(uint8_t *buffer, size_t capacity, uint32_t waitMs) override {
        if (!open_ || dropped_) return -1;
        if (input_.empty()) {
            clock_.advance(waitMs);
            return 0;
        }
        std::string &next = input_.front();
        const size_t count = std::min(capacity, next.size());
        next.copy(reinterpret_cast<char *>(buffer), count);
        next.erase(0, count);
        if (next.empty()) input_.pop_front();
        return static_cast<int>(count);
    }
    bool Send(const uint8_t *bytes, size_t length) override {
        if (!open_ || dropped_) return false;
        pending_.append(reinterpret_cast<const char *>(bytes), length);
        for (size_t end; (end = pending_.find('\r')) != std::string::npos;) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            sent.push_back(line);
            for (const std::string &answer : controller_.Answer(line)) Push(answer + "\r");
        }
        return true;
    }
    void Close() override {
        open_ = false;
        dropped_ = false;
        ++closes;
    }
    int LastError() const override { return 0; }
    int WaitHandle() const override { return -1; }
    bool IsOpen() const { return open_; }

    std::vector<std::string> sent;  // every line the driver sent, without its CR
    int closes = 0;

private:
    tessel::ManualClock &clock_;
    ControllerModel &controller_;
    std::deque<std::string> input_;
    std::string pending_;
    bool open_ = false;
    bool dropped_ = false;
};

struct ClockHolder {
    tessel::ManualClock clock{1000};
};

// The driver of the tests: the shared NX code over the scripted link.
class ScriptedDriver final : private ClockHolder, public TNXLinkDriver {
public:
    explicit ScriptedDriver(ControllerModel &controller)
        : TNXLinkDriver(clock, std::make_unique<ScriptedLink>(clock, controller), false,
                        {.name = "TNXEthDriver", .readLevel = 8, .packetLevel = 7, .numbered = true}),
          controller_(controller) {}

    bool Connect() override {
        if (Connected()) return true;
        if (!controller_.reachable) return false;
        link().Open();
        LinkOpened();
        return TNXDriver::Connect();
    }
    uint32_t Pass() { return DrvExecute(); }
    uint32_t NextWait() const { return PassWaitMs(); }
    void End() { DrvEnd(); }
    ScriptedLink &link() { return static_cast<ScriptedLink &>(Link()); }
    tessel::ManualClock &Time() { return clock; }

private:
    ControllerModel &controller_;
};

}  // namespace lintra::nx::test
