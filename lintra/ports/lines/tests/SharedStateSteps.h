#pragma once
// Steps the shared-state tests take both in their own process and in the probe's.
#include <chrono>
#include <cstdint>
#include <thread>

#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"

namespace lintra::test {

inline void setEveryMsgNumber(uint16_t number) {
    for (int line = 0; line < kLineCount; ++line) LineState::SetMsgNumber(line, number);
}

// Opens a line, waits until the shared count reaches `together` (every churner has opened
// its line: they then all churn at once; a count that never gets there is let go after 10 s),
// opens and closes another `times` times over, and closes the first.
inline void churnOpenLineCount(int times, int together) {
    SharedObjects::IncrementOpenLineCount();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (SharedObjects::OpenLineCount() < together && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::yield();
    for (int k = 0; k < times; ++k) {
        SharedObjects::IncrementOpenLineCount();
        SharedObjects::DecrementOpenLineCount();
    }
    SharedObjects::DecrementOpenLineCount();
}

}  // namespace lintra::test
