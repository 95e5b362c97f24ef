// Port names come from clients of the library; resolving one must never misbehave.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lintra/host/PortName.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool isolated = setenv("TESSEL_MACHINE_HIVE", "/nonexistent/tessel-fuzz.reg", 1) == 0;
    (void)isolated;
    const std::string name(reinterpret_cast<const char *>(data), size);
    if (auto device = lintra::host::resolvePortName(name); device && device->empty()) std::abort();
    return 0;
}
