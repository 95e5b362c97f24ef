// Any bytes as an aliases.ini: every alias listed is found again under its own name, once, with
// an absolute Path=.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/KeyName.h"
#include "zaltor/shell/db/AliasList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zaltor::shell::TAliasList list;
    list.add(std::string_view(reinterpret_cast<const char *>(data), size), "/etc/tessel/aliases.ini");
    const auto names = list.names();
    for (size_t i = 0; i < names.size(); ++i) {
        const auto entry = list.find(names[i]);
        if (!entry || entry->name != names[i] || names[i].empty()) std::abort();
        if (!entry->path.empty() && entry->path.front() != '/') std::abort();
        for (size_t j = 0; j < i; ++j)
            if (tessel::sameName(names[i], names[j])) std::abort();
    }
    return 0;
}
