#pragma once
// The line kinds that take controller commands (the line-controller lines and their
// descendants) implement TControllerLine beside TPortControl; command dispatch tells them from
// panel lines by it and asks them how their controller is reached.
#include <cstddef>

#include "lintra/ports/CommandTables.h"
#include "lintra/ports/lines/PortControl.h"

namespace lintra {

class TControllerLine {
public:
    virtual ControllerLink controllerLink() const = 0;

protected:
    ~TControllerLine() = default;
};

// The line's controller side, or nullptr for any other line kind.
inline const TControllerLine *AsControllerLine(const TPortControl &line) {
    return dynamic_cast<const TControllerLine *>(&line);
}

// A controller queue a quarter of which, taken five times, passes its capacity: callers that
// feed it slow down so that the line's thread can catch up.
inline bool ControllerQueueNearlyFull(size_t length, size_t capacity) {
    return length / 4 * 5 > capacity;
}

}  // namespace lintra
