#include "lintra/nx/ParamOverrides.h"

#include <array>
#include <mutex>

namespace lintra::nx {

namespace {

struct Overrides {
    std::mutex mutex;
    std::array<TParamList, kOverrideSlots> drivers;  // guarded by mutex
    std::array<TParamList, kOverrideSlots> lines;    // guarded by mutex

    std::array<TParamList, kOverrideSlots> &Table(OverrideTable table) {
        return table == OverrideTable::drivers ? drivers : lines;
    }
};

// Filled from the library's load routine, which may run before dynamic initialisers and whose
// unload may run after static destructors: made on first use and never destroyed.
Overrides &TheOverrides() {
    static Overrides *const overrides = new Overrides;
    return *overrides;
}

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < kOverrideSlots; }

}  // namespace

void SetParamOverride(OverrideTable table, int32_t slot, const TParamList &params) {
    if (!ValidSlot(slot)) return;
    Overrides &overrides = TheOverrides();
    std::lock_guard lock(overrides.mutex);
    overrides.Table(table)[static_cast<size_t>(slot)] = params;
}

void MergeParamOverride(OverrideTable table, int32_t handle, TParamList &params) {
    if (!ValidSlot(handle)) return;
    Overrides &overrides = TheOverrides();
    std::lock_guard lock(overrides.mutex);
    params.Merge(overrides.Table(table)[static_cast<size_t>(handle)]);
}

void ClearParamOverrides() {
    Overrides &overrides = TheOverrides();
    std::lock_guard lock(overrides.mutex);
    overrides.drivers.fill(TParamList());
    overrides.lines.fill(TParamList());
}

}  // namespace lintra::nx
