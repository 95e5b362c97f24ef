// Feeds arbitrary bytes as the text of lintra.ini to the reader the start-up uses.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lintra/nx/NXIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    lintra::nx::TNXIniFile ini;
    ini.Read(tessel::Profile::parse(std::string_view(reinterpret_cast<const char *>(data), size)));
    lintra::nx::TParamList params;
    const auto devices = ini.GetDeviceNames();
    if (devices.size() > lintra::nx::TNXIniFile::kMaxSections) std::abort();
    for (const std::string &device : devices) {
        if (device.empty() || device.size() > lintra::nx::TNXIniFile::kMaxNameLength) std::abort();
        if (!ini.GetDeviceParams(device, params)) std::abort();
        for (const std::string &line : ini.GetLinesOfDevice(device)) {
            // Two sections may trim to one line name: the params are the later one's.
            if (!ini.GetLineParams(line, params)) std::abort();
        }
    }
    const auto lines = ini.GetLinesOfDevice("");
    if (lines.size() > lintra::nx::TNXIniFile::kMaxSections) std::abort();
    for (const std::string &line : lines) {
        if (!ini.GetLineParams(line, params) || params.Value("Device").value_or("").empty()) std::abort();
    }
    ini.Common().IntValue("LogLevel", -1);
    return 0;
}
