// Feeds arbitrary text as a "discmd.ini" file and, on its own, as one DISABLED list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lintra/runtime/DisabledCommands.h"
#include "platform/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    static lintra::DisabledCommands table;
    table.clear();
    table.load(tessel::Profile::parse(text));
    lintra::CommandRow row;
    lintra::ApplyDisabledList(text, row);
    lintra::ParseLineSection(text);
    for (int line : {-1, 0, 7, 255, 256}) table.isDisabled(line, 0xFE);
    return 0;
}
