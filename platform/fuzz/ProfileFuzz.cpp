// The private-profile reader on any bytes, with every lookup it offers.
#include <cstdint>
#include <string_view>

#include "platform/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    auto profile =
        tessel::Profile::parse(std::string_view(reinterpret_cast<const char *>(data), size));
    for (const auto &section : profile.sectionNames())
        for (const auto &[key, value] : profile.entries(section)) {
            profile.value(section, key);
            profile.intValue(section, key, 0);
        }
    return 0;
}
