#pragma once
// What the user is told of a command the library refused.
#include <cstdint>
#include <string_view>

namespace zaltor::shell {

// The text of results 1..5 of SendCmdGetReply; empty for any other result.
std::string_view libraryStatusText(int32_t result);

}  // namespace zaltor::shell
