#pragma once
// The 256 shared event slots of "LintraGlobalData" and "LintraGlobalMutex" over them, as the
// library attached them at load. Slot i holds the record of line i; a first field of 0 marks
// it free. Every access goes through a held Guard, so no slot is touched without the mutex.
#include <cstdint>
#include <optional>

#include "lintra/host/IpcSet.h"
#include "lintra/ports/EventRecord.h"

namespace lintra {

class EventSlots {
public:
    static constexpr int kSlotCount = 256;

    // Called by the load step once the shared objects are attached, and with nullptr before
    // they are released at unload.
    static void Attach(host::IpcSet *ipc);
    // True while attached.
    static bool Attached();

    // Holds the mutex for its lifetime. A holder that died counts as released: its slot may be
    // half written, which a collector sees as one damaged record, never as a wedged line.
    class Guard {
    public:
        // nullopt when the mutex was not obtained within timeoutMs or nothing is attached.
        static std::optional<Guard> Lock(uint32_t timeoutMs);
        ~Guard();
        Guard(Guard &&other) noexcept : ipc_(other.ipc_) { other.ipc_ = nullptr; }
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;
        Guard &operator=(Guard &&) = delete;

        // line must lie in 0..255.
        EventRecord Read(int line) const;
        void Write(int line, const EventRecord &record) const;
        bool Occupied(int line) const;
        // Clears the first field: the slot is free again.
        void Free(int line) const;

    private:
        explicit Guard(host::IpcSet *ipc) : ipc_(ipc) {}
        uint8_t *slot(int line) const;

        host::IpcSet *ipc_;
    };
};

}  // namespace lintra
