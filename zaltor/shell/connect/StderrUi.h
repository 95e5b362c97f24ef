#pragma once
// The batch program's user interface: messages and progress as lines on standard error. It never
// waits for input; a yes/no question gets the answer the caller fixed.
#include <iosfwd>

#include "zaltor/shell/connect/EngineUi.h"

namespace zaltor::shell {

class StderrUi final : public IEngineUi {
public:
    // out is standard error in the program; tests pass a string stream.
    StderrUi(std::ostream &out, bool yesNoAnswer);

    void showMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void showIndicator() override {}
    void hideIndicator() override {}
    void progress(int number, std::string_view text) override;
    void processEvents() override {}
    bool askYesNo(std::string_view text, std::string_view caption) override;

private:
    std::ostream &out_;
    const bool yesNoAnswer_;
};

}  // namespace zaltor::shell
