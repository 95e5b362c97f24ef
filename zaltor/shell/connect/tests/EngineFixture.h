#pragma once
// An engine context over a scripted panel, a manual clock, a user interface that writes down
// what it was asked to show, and a Zaltor.log in a directory of the test's own.
#include <ctime>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "testsupport/TempDir.h"
#include "zaltor/shell/connect/EngineContext.h"
#include "zaltor/shell/connect/ProgressText.h"
#include "zaltor/shell/connect/tests/ScriptedPanel.h"

namespace zaltor::testing {

// The manual clock, with every pause written down.
class PauseClock final : public tessel::Clock {
public:
    explicit PauseClock(tessel::ManualClock &clock) : clock_(clock) {}
    uint64_t nowMs() const override { return clock_.nowMs(); }
    void sleepMs(uint32_t ms) override {
        pauses.push_back(ms);
        clock_.sleepMs(ms);
    }
    int64_t wallSeconds() const override { return clock_.wallSeconds(); }
    std::vector<uint32_t> pauses;

private:
    tessel::ManualClock &clock_;
};

class RecordingUi final : public shell::IEngineUi {
public:
    // "Сообщение: text" per message box.
    std::vector<std::string> messages;
    // The status line of every progress call.
    std::vector<std::string> statusLines;
    int indicatorHidden = 0;
    // Runs wherever pending events are processed: where a test aborts or raises.
    std::function<void()> onEvents;
    // The next message box raises once it is written down.
    bool raiseOnNextMessage = false;

    void showMessage(std::string_view text, std::string_view caption, shell::MessageIcon) override {
        messages.push_back(std::string(caption) + ": " + std::string(text));
        if (std::exchange(raiseOnNextMessage, false)) throw std::runtime_error("message box");
    }
    void showIndicator() override {}
    void hideIndicator() override { ++indicatorHidden; }
    void progress(int number, std::string_view text) override {
        statusLines.push_back(shell::progressLine(number, text));
        processEvents();
    }
    void processEvents() override {
        if (onEvents) onEvents();
    }
    bool askYesNo(std::string_view, std::string_view) override { return false; }
};

class RecordingBar final : public shell::IProgressBar {
public:
    int min = 0, max = 100, position = 0, steps = 0;
    void setRange(int lo, int hi) override {
        min = lo;
        max = hi;
    }
    void setPosition(int p) override { position = p; }
    void step() override {
        ++position;
        ++steps;
    }
};

struct EngineFixture {
    EngineFixture() { tzset(); }

    testsupport::ScopedEnv tz{"TZ", "UTC"};
    testsupport::TempDir dir;
    tessel::ManualClock manual;
    PauseClock clock{manual};
    ScriptedPanel panel{manual};
    RecordingUi ui;
    shell::OperationState state{.operation = true};
    shell::ZaltorLog log{dir.write("Zaltor.log", "")};
    RecordingBar gauge;
    shell::EngineContext ctx{panel, ui, clock, state, log, shell::ZaltorParams{}, &gauge};

    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        std::istringstream in(dir.read("Zaltor.log"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

}  // namespace zaltor::testing
