// Arbitrary state file text. A text that loads must save and load again to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/panel/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace sim;
    PanelLine line;
    if (loadState(std::string(reinterpret_cast<const char *>(data), size), line, 0)) return 0;
    std::string saved = saveState(line, 0);
    PanelLine again;
    if (loadState(saved, again, 0) || saveState(again, 0) != saved) std::abort();
    return 0;
}
