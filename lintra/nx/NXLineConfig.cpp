#include "lintra/nx/NXLineConfig.h"

#include "lintra/nx/NXCommBuff.h"

namespace lintra::nx {

std::array<uint8_t, kConfigSlots> LineConfiguration(std::span<const int32_t> typeDigits) {
    std::array<uint8_t, kConfigSlots> config;
    config.fill(kEmptySlot);
    for (size_t slot = 0; slot < config.size() && slot < typeDigits.size(); ++slot) {
        const int32_t digit = typeDigits[slot];
        if (digit >= 0 && digit <= 15) config[slot] = static_cast<uint8_t>(HexDigit(digit));
    }
    return config;
}

}  // namespace lintra::nx
