#include "zaltor/console/VersionText.h"

#include "platform/Cp1251.h"
#include "zaltor/console/NumberForms.h"

namespace zaltor::console {

std::string versionText(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t byte : bytes) {
        if (byte >= 32)
            text += tessel::cp1251ToUtf8(std::string_view(reinterpret_cast<const char *>(&byte), 1));
        else
            text += "\\x" + hex2(byte);
    }
    return text;
}

}  // namespace zaltor::console
