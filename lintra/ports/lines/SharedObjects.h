#pragma once
// The objects every process that loaded the library shares, attached at library load and let
// go at unload: the event slots "LintraGlobalData" with "LintraGlobalMutex", and the open-line
// count and the controller mailbox in "contrmemfilemap". The per-line data and ready events
// are the delivery's LineEvents table (lintra/ports/delivery/LineEvents.h).
#include <cstddef>
#include <cstdint>
#include <memory>

#include "lintra/host/IpcSet.h"
#include "lintra/host/NamedMutex.h"
#include "lintra/ports/EventRecord.h"

namespace lintra {

#pragma pack(push, 1)
// The controller-command mailbox another program fills for a line-controller line.
struct ControllerMailbox {
    static constexpr int32_t kEmpty = -1;
    int32_t targetLine;  // -1 when empty
    uint16_t address;
    uint16_t command;
    uint16_t paramCount;
    uint8_t params[13];
};
// "contrmemfilemap", little-endian.
struct ControllerMap {
    uint16_t openLineCount;  // lines open in all processes together
    ControllerMailbox mailbox;
};
#pragma pack(pop)
static_assert(sizeof(ControllerMailbox) == 23);
static_assert(sizeof(ControllerMap) == host::IpcSet::kControllerMapSize);
static_assert(offsetof(ControllerMap, openLineCount) == 0);
static_assert(offsetof(ControllerMap, mailbox) + offsetof(ControllerMailbox, targetLine) == 2);
static_assert(offsetof(ControllerMap, mailbox) + offsetof(ControllerMailbox, address) == 6);
static_assert(offsetof(ControllerMap, mailbox) + offsetof(ControllerMailbox, command) == 8);
static_assert(offsetof(ControllerMap, mailbox) + offsetof(ControllerMailbox, paramCount) == 10);
static_assert(offsetof(ControllerMap, mailbox) + offsetof(ControllerMailbox, params) == 12);

namespace SharedObjects {

// Library load: attach the set (slots filled with 0xFF, a fresh mailbox emptied). False (after
// the "Memory mapping error!" box) when the sections are missing.
bool Load();
// Library unload: detaches the set.
void Unload();

// nullptr before Load or after a failed one.
host::IpcSet *Ipc();
// The 256 slots of 22 bytes; nullptr when not attached. Touch them only under GlobalMutex().
EventRecord *GlobalSlots();
host::NamedMutex *GlobalMutex();
// nullptr when not attached. The count and the mailbox's target and address are read and
// changed only through the functions below, which keep every access to them atomic.
ControllerMap *Controllers();

// Lines open in all processes; 0 when not attached. No lock guards it: each update is one
// atomic step on the shared bytes. The decrement stops at 0.
uint16_t OpenLineCount();
uint16_t IncrementOpenLineCount();
void DecrementOpenLineCount();

// The mailbox's target and address, each read in one atomic step; kEmpty and 0 when not
// attached.
int32_t MailboxTarget();
uint16_t MailboxAddress();
// Sets the target to `desired` if it holds `expected`, in one atomic step; false when it did
// not (or nothing is attached).
bool ExchangeMailboxTarget(int32_t expected, int32_t desired);

}  // namespace SharedObjects
}  // namespace lintra
