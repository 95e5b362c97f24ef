#pragma once
// How a line hands an EventRecord to the client that opened it: by window message 1124, by
// callback, or through the line's slot of "LintraGlobalData". Every line kind delivers through
// SendEvInfo; the start exports choose the target with ResolveClient.
#include <cstdint>
#include <optional>

#include "lintra/ports/EventRecord.h"

namespace lintra {

enum class DeliveryMode : uint8_t { SharedMemory, Window, Callback };

// A callback given as Wnd: called with (nullptr, -1) at start, where it answers a window
// handle, and with (record, 0) for every event.
using EventCallback = intptr_t (*)(void *record, intptr_t arg);

struct TEventTarget {
    DeliveryMode mode = DeliveryMode::SharedMemory;
    // What becomes ClientWindow: the application window (shared memory), Wnd itself (window),
    // or the window the callback answered (callback).
    intptr_t window = 0;
    EventCallback callback = nullptr;
};

// The target a start export's Wnd selects: 0 is shared memory, a registered window gets window
// messages, an address in executable memory is a callback that must answer a registered window
// when called with (nullptr, -1). nullopt means the export answers -2 and opens nothing.
std::optional<TEventTarget> ResolveClient(intptr_t wnd);

// What a line lends its delivery while a shared-memory record waits for a collector.
class TDeliveryLine {
public:
    virtual ~TDeliveryLine() = default;
    virtual int DeliveryLineNumber() const = 0;
    // True once the line is being destroyed: a waiting delivery gives up. Setting the line's
    // ready event after raising it ends a wait at once.
    virtual bool DeliveryClosing() const = 0;
};

// Delivers one record of the line to its client. In shared-memory mode the calling thread
// blocks until a collector declares itself ready (ResumeLine) or the line closes; in the other
// two modes the client's procedure runs on the calling thread and the record lives only during
// that call. Line 0 delivers nothing by window or callback. A polling thread calls it with its
// port lock released, so that a line nobody collects does not stop direct exchanges.
void SendEvInfo(const TEventTarget &target, TDeliveryLine &line, EventRecord &record);

}  // namespace lintra
