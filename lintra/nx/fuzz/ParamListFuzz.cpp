// Feeds arbitrary bytes as the parameter text a client passes to DriverCreate or
// DriverLineCreate; the text cut at its first zero byte is what the library sees.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lintra/nx/ParamList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const lintra::nx::TParamList list = lintra::nx::TParamList::FromText(text.c_str());
    // The text form must read back as the same lines.
    if (lintra::nx::TParamList::FromText(list.Text().c_str()).Lines() != list.Lines()) std::abort();
    list.LogText();
    for (const char *key : {"LogLevel", "Port", "Password", ""}) {
        list.Value(key);
        list.IntValue(key, -1);
    }
    return 0;
}
