// Arbitrary control lines against a line of two panels. Commands that touch files are left
// out so that the fuzzer never writes where it should not.
#include <cstdint>
#include <string>

#include "sim/fuzz/ControlLines.h"
#include "sim/fuzz/TwoPanelLine.h"
#include "sim/panel/ControlCommands.h"
#include "sim/panel/TextFields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace sim;
    PanelLine line = fuzz::twoPanelLine();
    ControlInterpreter control(line, ControlHooks{});
    fuzz::forEachLine(data, size, [&control](const std::string &command) {
        auto fields = splitFields(command);
        if (fields.empty() || (fields[0] != "save" && fields[0] != "load")) control.execute(command, 0);
    });
    return 0;
}
