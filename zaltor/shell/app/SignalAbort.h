#pragma once
// SIGINT and SIGTERM during a batch run act as the operator's abort: the operation flag is
// cleared at the engine's next look at its user interface, so the line is closed before the
// next command.
#include "zaltor/shell/connect/EngineUi.h"
#include "zaltor/shell/connect/OperationState.h"

namespace zaltor::shell {

// Installs the handlers; a signal only sets a flag.
void catchStopSignals();
bool stopSignalled();

// The batch user interface with the signals turned into an abort.
class SignalAbortUi final : public IEngineUi {
public:
    SignalAbortUi(IEngineUi &inner, OperationState &state) : inner_(inner), state_(state) {}
    void showMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
        inner_.showMessage(text, caption, icon);
    }
    void showIndicator() override { inner_.showIndicator(); }
    void hideIndicator() override { inner_.hideIndicator(); }
    void progress(int number, std::string_view text) override {
        inner_.progress(number, text);
        processEvents();
    }
    void processEvents() override;
    bool askYesNo(std::string_view text, std::string_view caption) override { return inner_.askYesNo(text, caption); }

private:
    IEngineUi &inner_;
    OperationState &state_;
    bool reported_ = false;
};

}  // namespace zaltor::shell
