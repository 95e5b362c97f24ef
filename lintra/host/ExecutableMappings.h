#pragma once
// Whether an address lies in executable memory of this process, from /proc/self/maps. The
// ranges are cached; an address outside them re-reads the maps once (code loaded since, such as
// a new library or an FFI trampoline) before the answer is no.
#include <cstdint>

namespace lintra::host {

bool isExecutableAddress(uintptr_t address);

}  // namespace lintra::host
