#include "lintra/ports/commands/ControllerCommandText.h"

#include "lintra/runtime/CharFunc.h"

namespace lintra {
namespace {

std::string hex2(uint8_t value) {
    std::string digits(2, '0');
    IntToHexFixed(value, digits.data(), 2);
    return digits;
}

}  // namespace

std::string ControllerCommandText(const PanelFrame &frame) {
    return "адрес " + hex2(frame.address()) + " команда: " + hex2(frame.code());
}

}  // namespace lintra
