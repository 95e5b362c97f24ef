#pragma once
// The library's message boxes. Each goes to the host log; a client's handler shows it, and
// without one it goes to standard error. Flags carry the Windows MB_ values.
#include <cstdint>
#include <string_view>

namespace lintra::host {

inline constexpr uint32_t kMessageBoxIconStop = 0x10;
inline constexpr uint32_t kMessageBoxIconInformation = 0x40;

using MessageBoxHandler = void (*)(const char *text, const char *caption, uint32_t flags);

void setMessageBoxHandler(MessageBoxHandler handler);
void showMessageBox(std::string_view text, std::string_view caption, uint32_t flags);

}  // namespace lintra::host
