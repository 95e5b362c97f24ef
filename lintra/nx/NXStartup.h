#pragma once
// The start-up of the network-controller configuration, run once by the library's load: reads
// lintra.ini, keeps its per-handle parameter overrides, creates and starts the drivers it
// lists with their lines and registers each line under its port name.
#include <cstdint>

namespace lintra::nx {

// The number of registered port aliases; -1 when the alias table already holds entries; -2
// when lintra.ini is missing or has no section.
int32_t StartNXConfiguration();
// Empties the override tables and the port alias table.
void FreeNXConfiguration();

}  // namespace lintra::nx
