#pragma once
// Waiting on one descriptor with poll() (never select(), which cannot take descriptors above
// FD_SETSIZE), against a deadline of the monotonic clock so that EINTR does not stretch it.
#include <chrono>
#include <cstdint>
#include <optional>

namespace lintra::host {

using Deadline = std::optional<std::chrono::steady_clock::time_point>;  // nullopt: no limit

Deadline deadlineAfter(std::optional<uint64_t> ms);

// The events that came (revents), 0 when the deadline passed first, -1 on a poll error.
int pollUntil(int fd, short events, const Deadline &deadline);

}  // namespace lintra::host
