#pragma once
// The process's handles on the named data and ready events of every line ("LintraDataEvent" /
// "LintraReadyEvent" + two hex digits). The data event goes from library to client (a record is
// in the slot), the ready event from client to library (the slot may be filled). Both reset
// themselves. Entries are shared pointers, so a delivery waiting on an event keeps it alive
// while CloseCom drops the entry; it then finds the entry gone and gives up.
#include <array>
#include <memory>
#include <mutex>

#include "lintra/host/NamedEvent.h"

namespace lintra {

class LineEvents {
public:
    static LineEvents &instance();

    // nullptr when the line has no such event in this process or is outside 0..255.
    std::shared_ptr<host::NamedEvent> data(int line) const;
    std::shared_ptr<host::NamedEvent> ready(int line) const;

    // The data event a delivery sets: opened (or created) on first use while the line's ready
    // event is here, since a collector in another process waits on it although this process
    // never called GetEvent. nullptr once the line is closed.
    std::shared_ptr<host::NamedEvent> dataForDelivery(int line);

    // Creates (or opens) the ready event when absent: a start export.
    bool createReady(int line);
    // Creates (or opens) both events when absent: GetEvent, and line 0 at load.
    bool createBoth(int line);
    // Drops both: CloseCom, and every line at unload.
    void free(int line);
    void freeAll();

private:
    using Event = std::shared_ptr<host::NamedEvent>;
    static bool ensure(Event &slot, int line, bool dataEvent);

    mutable std::mutex mutex_;
    std::array<Event, 256> data_;
    std::array<Event, 256> ready_;
};

}  // namespace lintra
