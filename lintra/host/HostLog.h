#pragma once
// Where the host layer reports what it degraded or could not do. The library routes this sink
// into its own logs; until a sink is set, the reports are dropped (the host layer never prints).
#include <string_view>

namespace lintra::host {

// Levels follow the library's numbered log levels: a smaller number is more important.
inline constexpr int kLogError = 2;
inline constexpr int kLogWarning = 4;
inline constexpr int kLogDetail = 6;

using HostLogSink = void (*)(int level, std::string_view text);

// Installs the sink (nullptr: drop reports). Safe to call while other threads report.
void setHostLogSink(HostLogSink sink);
void hostLog(int level, std::string_view text);

}  // namespace lintra::host
