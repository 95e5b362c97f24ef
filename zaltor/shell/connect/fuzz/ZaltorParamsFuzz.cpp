// Any bytes as a Zaltor.ini: reading never fails, the pause is never negative (the exchange
// sleeps it as an unsigned count), and a file without a PARAMS section keeps the defaults.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "zaltor/shell/connect/ZaltorParams.h"

namespace {

// The file the input is written to, one per fuzzing process, removed at exit.
struct ScratchFile {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("zaltor-params-fuzz-" + std::to_string(::getpid()) + ".ini");
    ~ScratchFile() { std::filesystem::remove(path); }
};

bool namesParams(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("params") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const ScratchFile scratch;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::ofstream(scratch.path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(size));
    const zaltor::shell::ZaltorParams params = zaltor::shell::readZaltorParams(scratch.path);
    if (params.sleepParam < 0) std::abort();
    const zaltor::shell::ZaltorParams defaults;
    if (!namesParams(text) && (params.replayParam != defaults.replayParam || params.sleepParam != defaults.sleepParam))
        std::abort();
    return 0;
}
