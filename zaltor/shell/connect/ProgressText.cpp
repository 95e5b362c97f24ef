#include "zaltor/shell/connect/ProgressText.h"

namespace zaltor::shell {

std::string progressLine(int number, std::string_view text) {
    return std::string(text) + " " + std::to_string(number) + ".";
}

std::string indicatorTip(std::string_view text) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == kTipCharacters) return std::string(text.substr(0, i));
    }
    return std::string(text);
}

}  // namespace zaltor::shell
