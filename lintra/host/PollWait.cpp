#include "lintra/host/PollWait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace lintra::host {

Deadline deadlineAfter(std::optional<uint64_t> ms) {
    if (!ms) return std::nullopt;
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(*ms);
}

int pollUntil(int fd, short events, const Deadline &deadline) {
    for (;;) {
        int timeout = -1;
        if (deadline) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
            timeout = left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), INT_MAX));
        }
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, timeout);
        if (ready > 0) return entry.revents;
        if (ready == 0) {
            if (timeout == 0 || !deadline || std::chrono::steady_clock::now() >= *deadline) return 0;
            continue;  // poll rounds down; wait out the rest
        }
        if (errno != EINTR) return -1;
    }
}

}  // namespace lintra::host
