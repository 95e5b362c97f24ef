#include "lintra/nx/PortAliases.h"

#include <mutex>
#include <string>
#include <vector>

namespace lintra::nx {

namespace {

struct Alias {
    std::string portName;
    NXLineRef line;
};

struct Aliases {
    std::mutex mutex;
    std::vector<Alias> entries;  // guarded by mutex
};

// Filled from the library's load routine, which may run before dynamic initialisers: made on
// first use and never destroyed.
Aliases &TheAliases() {
    static Aliases *const aliases = new Aliases;
    return *aliases;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

bool AddPortAlias(std::string_view portName, int32_t lineHandle, int32_t lineType) {
    Aliases &aliases = TheAliases();
    std::lock_guard lock(aliases.mutex);
    if (aliases.entries.size() >= static_cast<size_t>(kMaxPortAliases)) return false;
    aliases.entries.push_back({std::string(portName), {lineHandle, lineType}});
    return true;
}

int32_t PortAliasCount() {
    Aliases &aliases = TheAliases();
    std::lock_guard lock(aliases.mutex);
    return static_cast<int32_t>(aliases.entries.size());
}

std::optional<NXLineRef> FindLineByPortName(std::string_view portName) {
    Aliases &aliases = TheAliases();
    std::lock_guard lock(aliases.mutex);
    for (auto entry = aliases.entries.rbegin(); entry != aliases.entries.rend(); ++entry) {
        if (SameName(entry->portName, portName)) return entry->line;
    }
    return std::nullopt;
}

void ClearPortAliases() {
    Aliases &aliases = TheAliases();
    std::lock_guard lock(aliases.mutex);
    aliases.entries.clear();
}

}  // namespace lintra::nx
