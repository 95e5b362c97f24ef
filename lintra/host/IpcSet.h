#pragma once
// The kernel objects every process that loads the library shares, attached as one group:
// "LintraGlobalData" (the event slots), "LintraGlobalMutex" over them, "contrmemfilemap" (the
// open-line count and the controller mailbox), and the per-line data and ready events.
//
// Lifetime follows the Windows rule that a named object vanishes with its last handle: every
// attached process holds a shared flock on a lock file beside the sections. The process that
// gets it exclusively (nobody else attached, crashed processes included, since their locks died
// with them) removes whatever a crash left behind and creates the objects afresh; the last to
// detach removes them all. A second lock file (the gate) orders attaching and detaching.
#include <cstdint>
#include <memory>
#include <string>

#include "lintra/host/LockFile.h"
#include "lintra/host/NamedEvent.h"
#include "lintra/host/NamedMutex.h"
#include "lintra/host/SharedSection.h"

namespace lintra::host {

class IpcSet {
public:
    static constexpr size_t kGlobalDataSize = 5632;  // 256 slots of 22 bytes
    static constexpr size_t kControllerMapSize = 25;

    // Creates or opens the sections and the mutex. initControllerMap runs only when this call
    // creates "contrmemfilemap" (on zero-filled bytes). nullptr with *error on failure.
    static std::unique_ptr<IpcSet> attach(const SharedSection::Initialiser &initControllerMap, int *error);
    // Detaches; the last process attached removes every object of the set.
    ~IpcSet();
    IpcSet(const IpcSet &) = delete;
    IpcSet &operator=(const IpcSet &) = delete;

    // True when no other process was attached, so the objects were made afresh by this one.
    bool first() const { return first_; }
    SharedSection &globalData() const { return *globalData_; }
    NamedMutex &globalMutex() const { return *globalMutex_; }
    SharedSection &controllerMap() const { return *controllerMap_; }

    // "LintraDataEvent" / "LintraReadyEvent" + the line as two upper-case hex digits. The data
    // event is created signalled, the ready event not. Call them only while attached.
    static std::string dataEventName(uint8_t line);
    static std::string readyEventName(uint8_t line);
    static std::shared_ptr<NamedEvent> dataEvent(uint8_t line, int *error);
    static std::shared_ptr<NamedEvent> readyEvent(uint8_t line, int *error);

private:
    IpcSet() = default;
    static void removeObjects();
    // Unmaps everything and lets go of the attach lock; the last one out removes the objects.
    void detach(LockFile &gate);

    bool first_ = false;
    std::unique_ptr<LockFile> attached_;
    std::unique_ptr<SharedSection> globalData_;
    std::unique_ptr<NamedMutex> globalMutex_;
    std::unique_ptr<SharedSection> controllerMap_;
};

}  // namespace lintra::host
