#include "zaltor/shell/connect/StderrUi.h"

#include <ostream>

#include "zaltor/shell/connect/ProgressText.h"

namespace zaltor::shell {

StderrUi::StderrUi(std::ostream &out, bool yesNoAnswer) : out_(out), yesNoAnswer_(yesNoAnswer) {}

void StderrUi::showMessage(std::string_view text, std::string_view caption, MessageIcon) {
    out_ << caption << ": " << text << std::endl;
}

void StderrUi::progress(int number, std::string_view text) { out_ << progressLine(number, text) << std::endl; }

bool StderrUi::askYesNo(std::string_view text, std::string_view caption) {
    out_ << caption << ": " << text << " " << (yesNoAnswer_ ? "Да" : "Нет") << std::endl;
    return yesNoAnswer_;
}

}  // namespace zaltor::shell
