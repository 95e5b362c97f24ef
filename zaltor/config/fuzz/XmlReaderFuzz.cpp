// Any byte string through the XML reader: every tag and attribute it hands out, then the close.
#include "zaltor/config/uXML.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zaltor::Txml xml;
    if (!xml.openBytes(std::string(reinterpret_cast<const char *>(data), size))) return 0;
    while (xml.readTag())
        while (xml.readAttribute()) {
        }
    xml.close();
    return 0;
}
