#pragma once
// The library's event record as the loader receives it (window message, callback, shared slot):
// the public header's type. Zaltor never links the library, but shares its header.
#include <cstdint>

#include "lintra/include/lintra.h"

namespace zaltor::console {

using EventRecord = LintraEventRecord;

// The address of the library's own events.
inline constexpr uint16_t kLibrarySource = 251;

}  // namespace zaltor::console
