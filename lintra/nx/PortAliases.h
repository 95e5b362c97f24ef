#pragma once
// The port alias table: the port names (Com values of lintra.ini) under which the start-up
// registered NX lines, so that a client opening that port name is served through the line.
#include <cstdint>
#include <optional>
#include <string_view>

namespace lintra::nx {

inline constexpr int32_t kMaxPortAliases = 101;

struct NXLineRef {
    int32_t lineHandle;
    int32_t lineType;
};

// False when the table is full.
bool AddPortAlias(std::string_view portName, int32_t lineHandle, int32_t lineType);
int32_t PortAliasCount();
// Searched from the last entry to the first, port names compared without regard to case.
std::optional<NXLineRef> FindLineByPortName(std::string_view portName);
void ClearPortAliases();

}  // namespace lintra::nx
