#include "lintra/nx/DriverTypes.h"

#include <array>

#include "lintra/nx/DriverTables.h"

namespace lintra::nx {

namespace {

// The library knows a handful of types; a fixed constant-initialised registry needs no
// dynamic initialiser and can be filled from the library's load routine.
template <typename Maker>
struct Registry {
    struct Entry {
        int32_t type = 0;
        Maker make = nullptr;
    };
    std::array<Entry, 8> entries{};

    bool Add(int32_t type, Maker make) {
        TablesGuard guard;
        for (Entry &entry : entries) {
            if (entry.make && entry.type != type) continue;
            entry = Entry{type, make};
            return true;
        }
        return false;
    }
    Maker Find(int32_t type) {
        TablesGuard guard;
        for (const Entry &entry : entries) {
            if (entry.make && entry.type == type) return entry.make;
        }
        return nullptr;
    }
};

constinit Registry<DriverMaker> driverTypes;
constinit Registry<LineMaker> lineTypes;

}  // namespace

bool RegisterDriverType(int32_t type, DriverMaker make) { return make && driverTypes.Add(type, make); }
bool RegisterLineType(int32_t type, LineMaker make) { return make && lineTypes.Add(type, make); }
DriverMaker FindDriverType(int32_t type) { return driverTypes.Find(type); }
LineMaker FindLineType(int32_t type) { return lineTypes.Find(type); }

}  // namespace lintra::nx
