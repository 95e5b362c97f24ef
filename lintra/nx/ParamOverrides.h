#pragma once
// The per-handle parameter overrides of lintra.ini: slot n holds the lines of the device or line
// section named n, and DriverCreate and DriverLineCreate merge the slot of the new handle into
// the client's parameters, the file's values winning. They stay in force for the library's life.
#include <cstdint>

#include "lintra/nx/ParamList.h"

namespace lintra::nx {

enum class OverrideTable { drivers, lines };

inline constexpr int32_t kOverrideSlots = 256;  // 0..255

// A slot outside 0..255 is ignored.
void SetParamOverride(OverrideTable table, int32_t slot, const TParamList &params);
// Merges the override of this handle, when there is one, into params.
void MergeParamOverride(OverrideTable table, int32_t handle, TParamList &params);
// Empties both tables.
void ClearParamOverrides();

}  // namespace lintra::nx
