#pragma once
// The operation as the build sees it: the progress it shows, the messages (it shows none), and
// an abort that runs inside the progress display of one block and clears the operation flag.
#include "zaltor/shell/connect/EngineUi.h"
#include "zaltor/shell/connect/OperationState.h"

#include <string>
#include <utility>
#include <vector>

namespace zaltor::dbbuild::tests {

class RecordingUi final : public shell::IEngineUi {
  public:
    explicit RecordingUi(shell::OperationState &state, int abortAtBlock = 0)
        : state_(state), abortAtBlock_(abortAtBlock) {}

    std::vector<std::pair<int, std::string>> shown;
    std::vector<std::string> messages;

    void showMessage(std::string_view text, std::string_view, shell::MessageIcon) override {
        messages.emplace_back(text);
    }
    void showIndicator() override {}
    void hideIndicator() override {}
    void progress(int number, std::string_view text) override {
        shown.emplace_back(number, text);
        if (number == abortAtBlock_) state_.operation = false;
    }
    void processEvents() override {}
    bool askYesNo(std::string_view, std::string_view) override { return false; }

  private:
    shell::OperationState &state_;
    int abortAtBlock_;
};

// A running operation that nobody aborts.
struct RunningOperation {
    shell::OperationState state{.operation = true};
    RecordingUi ui{state};
};

}  // namespace zaltor::dbbuild::tests
