#pragma once
// The part every start export shares once its own argument checks passed: refuse a line in use,
// start the per-line tables afresh for the first line of the system, resolve the client, put
// the new line object into the table, open it and count it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "lintra/ports/lines/PortControl.h"

namespace lintra {

inline constexpr int kStartLineInUse = -1;
inline constexpr int kStartNoClient = -2;
inline constexpr int kStartCannotOpen = -4;

// The number of open lines, or one of the results above. make builds the (unopened) line object.
// With a trace name (StartIntCom, StartNetCom) the steps are written to the line and general logs.
// A failure that throws leaves the line's number free.
int StartLineObject(int32_t line, const std::string &port, intptr_t wnd,
                    const std::function<std::shared_ptr<TPortControl>()> &make, const char *traceName = nullptr);

}  // namespace lintra
