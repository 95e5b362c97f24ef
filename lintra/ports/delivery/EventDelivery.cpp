#include "lintra/ports/delivery/EventDelivery.h"

#include <exception>
#include <string>

#include "lintra/host/WindowRegistry.h"
#include "lintra/ports/delivery/EventSlots.h"
#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {

namespace {

constexpr uint32_t kReadyWaitMs = 1000;
constexpr uint32_t kMutexStepMs = 50;

// A client's procedure may throw through us; the polling thread must survive it.
template <typename Call>
void callClient(int line, Call call) {
    try {
        call();
    } catch (const std::exception &failure) {
        LogLine(line, std::string("Не отослали из-за ") + failure.what(), 2);
    } catch (...) {
        LogLine(line, "Не отослали из-за unknown exception", 2);
    }
}

intptr_t answerOf(EventCallback callback) {
    try {
        return callback(nullptr, -1);
    } catch (...) {
        return 0;
    }
}

// Takes the mutex in short waits, so that a closing line stops trying; false when it closed.
bool writeSlot(TDeliveryLine &line, const EventRecord &record) {
    const int number = line.DeliveryLineNumber();
    for (;;) {
        if (line.DeliveryClosing() || !EventSlots::Attached()) return false;
        if (auto guard = EventSlots::Guard::Lock(kMutexStepMs)) {
            guard->Write(number, record);
            guard.reset();  // a woken collector finds the mutex free
            auto &events = LineEvents::instance();
            for (const auto &data : {events.data(0), events.dataForDelivery(number)})
                if (data) data->set();
            return true;
        }
    }
}

// Waits for a collector's ResumeLine, then writes the slot and wakes the collectors.
void deliverToSlot(TDeliveryLine &line, const EventRecord &record) {
    const int number = line.DeliveryLineNumber();
    for (int attempt = 1;; ++attempt) {
        if (line.DeliveryClosing()) {
            LogLine(number, "SendEvInfo::PortControl завершает работу 1", 6);
            return;
        }
        auto ready = LineEvents::instance().ready(number);
        if (!ready) {
            LogLine(number, "SendEvInfo::Event удалён", 6);
            return;
        }
        if (LineLogEnabled(number, 7))
            LogLine(number, "Wait on " + std::to_string(ready->handle()) + " for " + std::to_string(attempt) + " sec...", 7);
        if (ready->wait(kReadyWaitMs)) break;
    }
    if (!writeSlot(line, record)) LogLine(number, "SendEvInfo::PortControl завершает работу 2", 6);
}

}  // namespace

std::optional<TEventTarget> ResolveClient(intptr_t wnd) {
    auto &windows = host::WindowRegistry::instance();
    if (wnd == 0) return TEventTarget{DeliveryMode::SharedMemory, host::kApplicationWindow, nullptr};
    if (windows.isWindow(wnd)) return TEventTarget{DeliveryMode::Window, wnd, nullptr};
    if (!host::isCallbackAddress(wnd)) return std::nullopt;
    const auto callback = reinterpret_cast<EventCallback>(wnd);
    const intptr_t window = answerOf(callback);
    if (!windows.isWindow(window)) return std::nullopt;
    return TEventTarget{DeliveryMode::Callback, window, callback};
}

void SendEvInfo(const TEventTarget &target, TDeliveryLine &line, EventRecord &record) {
    const int number = line.DeliveryLineNumber();
    LogLineEvent(number, "SendEvInfo...", record, 8);
    // A slot whose first field is 0 reads as free: a record without its line number would be
    // written and never collected, and the line would wait for a resume that never comes.
    if (number > 0) record.line = static_cast<uint16_t>(number);
    switch (target.mode) {
    case DeliveryMode::SharedMemory:
        deliverToSlot(line, record);
        break;
    case DeliveryMode::Window:
    case DeliveryMode::Callback:
        if (number <= 0) break;
        callClient(number, [&] {
            if (target.mode == DeliveryMode::Callback)
                target.callback(&record, 0);
            else if (!host::WindowRegistry::instance().send(target.window, host::kEventMessage, 0,
                                                             reinterpret_cast<intptr_t>(&record)))
                LogLine(number, "Не отослали из-за: window " + std::to_string(target.window) + " is not registered", 2);
        });
        break;
    }
    LogLine(number, "...SendEvInfo", 8);
}

}  // namespace lintra
