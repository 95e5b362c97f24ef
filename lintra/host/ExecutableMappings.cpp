#include "lintra/host/ExecutableMappings.h"

#include <cstdio>
#include <mutex>
#include <utility>
#include <vector>

namespace lintra::host {

namespace {

using Ranges = std::vector<std::pair<uintptr_t, uintptr_t>>;  // [start, end)

Ranges readExecutableRanges() {
    Ranges ranges;
    FILE *maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return ranges;
    char line[512];
    while (std::fgets(line, sizeof line, maps)) {
        unsigned long start = 0, end = 0;
        char permissions[5] = {};
        if (std::sscanf(line, "%lx-%lx %4s", &start, &end, permissions) == 3 && permissions[2] == 'x')
            ranges.emplace_back(start, end);
    }
    std::fclose(maps);
    return ranges;
}

bool contains(const Ranges &ranges, uintptr_t address) {
    for (const auto &[start, end] : ranges)
        if (address >= start && address < end) return true;
    return false;
}

}  // namespace

bool isExecutableAddress(uintptr_t address) {
    static std::mutex mutex;
    static Ranges *cached = new Ranges;  // never destroyed: a library thread may ask during exit
    std::lock_guard lock(mutex);
    if (contains(*cached, address)) return true;
    *cached = readExecutableRanges();
    return contains(*cached, address);
}

}  // namespace lintra::host
