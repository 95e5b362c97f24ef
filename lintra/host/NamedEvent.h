#pragma once
// An auto-reset event shared between processes under a name: a process-shared mutex, condition
// variable and flag in a section. set() leaves the event signalled until exactly one wait
// consumes it, whether or not anyone waits at that moment.
//
// Every live event is also a handle a client may hold: handle() is the object's address, and
// fromHandle() answers the event only while it is alive, so a stale or made-up handle is
// refused instead of followed.
#include <cstdint>
#include <memory>
#include <string_view>

#include "lintra/host/SharedSection.h"

namespace lintra::host {

struct EventState;

class NamedEvent {
public:
    static constexpr uint32_t kInfinite = UINT32_MAX;

    // The initial state applies only when this call creates the event.
    static std::shared_ptr<NamedEvent> createOrOpen(std::string_view baseName, bool initiallySignalled, int *error);
    static void remove(std::string_view baseName) { SharedSection::remove(baseName); }
    static std::shared_ptr<NamedEvent> fromHandle(intptr_t handle);

    ~NamedEvent();
    NamedEvent(const NamedEvent &) = delete;
    NamedEvent &operator=(const NamedEvent &) = delete;

    bool set();
    bool reset();
    // True when the event was signalled within the time-out (and is now reset).
    bool wait(uint32_t timeoutMs);
    bool created() const { return section_->created(); }
    intptr_t handle() const { return reinterpret_cast<intptr_t>(this); }

private:
    explicit NamedEvent(std::unique_ptr<SharedSection> section) : section_(std::move(section)) {}
    EventState *state() const { return static_cast<EventState *>(section_->data()); }

    std::unique_ptr<SharedSection> section_;
};

}  // namespace lintra::host
