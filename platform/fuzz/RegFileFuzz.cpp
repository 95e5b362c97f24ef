// The .reg reader on any bytes: it never crashes, and what it writes back reads as the same
// hive and writes back identically, so a rewrite never drifts or loses lines.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/RegDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    tessel::RegDocument first = tessel::RegDocument::parse(text);
    const std::string written = first.serialize();
    tessel::RegDocument second = tessel::RegDocument::parse(written);
    if (second.serialize() != written) std::abort();
    for (const auto &path : first.keyPaths()) {
        auto a = first.values(path), b = second.values(path);
        if (a.size() != b.size()) std::abort();
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].first != b[i].first || a[i].second.type != b[i].second.type ||
                a[i].second.dword != b[i].second.dword || a[i].second.bytes != b[i].second.bytes)
                std::abort();
        first.subKeyNames(path);
    }
    return 0;
}
