#include "lintra/ports/lines/SharedObjects.h"

#include <bit>
#include <cstring>
#include <optional>

#include "lintra/host/MessageBox.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra::SharedObjects {

namespace {

host::IpcSet *gIpc = nullptr;

// The count (bytes 0-1), the mailbox target (2-5) and its address (6-7) make up one naturally
// aligned 64-bit word (the section is page-aligned). The target alone, at offset 2, has no
// portable 32-bit atomic (a misaligned lock cmpxchg is x86's only, and undefined in C++), so
// every atomic access to these fields is a 64-bit one on the word and no two sizes ever
// overlap. The layout other programs see stays byte for byte.
static_assert(std::endian::native == std::endian::little);
constexpr int kTargetShift = 16, kAddressShift = 48;
constexpr uint64_t kCountMask = 0xFFFF, kTargetMask = uint64_t{0xFFFFFFFF} << kTargetShift;

uint64_t *headWord() { return gIpc ? static_cast<uint64_t *>(gIpc->controllerMap().data()) : nullptr; }

std::optional<uint64_t> loadHead() {
    uint64_t *word = headWord();
    if (!word) return std::nullopt;
    return __atomic_load_n(word, __ATOMIC_SEQ_CST);
}

// Replaces the word with change(word) in one atomic step, taking again whatever another writer
// put in meanwhile; nothing is written when change answers nullopt. The word written, if any.
template <typename Change>
std::optional<uint64_t> updateHead(Change change) {
    uint64_t *word = headWord();
    if (!word) return std::nullopt;
    uint64_t seen = __atomic_load_n(word, __ATOMIC_SEQ_CST);
    for (;;) {
        const std::optional<uint64_t> next = change(seen);
        if (!next) return std::nullopt;
        if (__atomic_compare_exchange_n(word, &seen, *next, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) return next;
    }
}

uint16_t countOf(uint64_t word) { return static_cast<uint16_t>(word & kCountMask); }
int32_t targetOf(uint64_t word) { return static_cast<int32_t>(static_cast<uint32_t>(word >> kTargetShift)); }

uint64_t withCount(uint64_t word, uint16_t count) { return (word & ~kCountMask) | count; }
uint64_t withTarget(uint64_t word, int32_t target) {
    return (word & ~kTargetMask) | uint64_t{static_cast<uint32_t>(target)} << kTargetShift;
}

bool initControllerMap(void *data, size_t size) {
    if (size < sizeof(ControllerMap)) return false;
    ControllerMap map{};
    map.mailbox.targetLine = ControllerMailbox::kEmpty;
    std::memcpy(data, &map, sizeof map);
    return true;
}

}  // namespace

bool Load() {
    if (gIpc) return true;
    int error = 0;
    std::unique_ptr<host::IpcSet> set = host::IpcSet::attach(initControllerMap, &error);
    if (!set || !set->globalData().data() || !set->controllerMap().data()) {
        LogMain("SharedObjects::Load: " + std::string(std::strerror(error)), 2);
        host::showMessageBox("Memory mapping error!", "Error", 0);
        return false;
    }
    // A fresh set marks every slot occupied until it is first collected. Slots of a set other
    // processes already use are left alone: their records may still wait for a collector.
    if (set->first()) std::memset(set->globalData().data(), 0xFF, host::IpcSet::kGlobalDataSize);
    gIpc = set.release();
    return true;
}

void Unload() {
    delete gIpc;
    gIpc = nullptr;
}

host::IpcSet *Ipc() { return gIpc; }

EventRecord *GlobalSlots() { return gIpc ? static_cast<EventRecord *>(gIpc->globalData().data()) : nullptr; }

host::NamedMutex *GlobalMutex() { return gIpc ? &gIpc->globalMutex() : nullptr; }

ControllerMap *Controllers() { return gIpc ? static_cast<ControllerMap *>(gIpc->controllerMap().data()) : nullptr; }

uint16_t OpenLineCount() { return countOf(loadHead().value_or(0)); }

uint16_t IncrementOpenLineCount() {
    const auto word =
        updateHead([](uint64_t w) { return std::optional(withCount(w, static_cast<uint16_t>(countOf(w) + 1))); });
    return word ? countOf(*word) : 0;
}

void DecrementOpenLineCount() {
    updateHead([](uint64_t w) {
        const uint16_t count = countOf(w);
        return count > 0 ? std::optional(withCount(w, static_cast<uint16_t>(count - 1))) : std::nullopt;
    });
}

int32_t MailboxTarget() {
    const std::optional<uint64_t> word = loadHead();
    return word ? targetOf(*word) : ControllerMailbox::kEmpty;
}

uint16_t MailboxAddress() { return static_cast<uint16_t>(loadHead().value_or(0) >> kAddressShift); }

bool ExchangeMailboxTarget(int32_t expected, int32_t desired) {
    return updateHead([&](uint64_t w) {
               return targetOf(w) == expected ? std::optional(withTarget(w, desired)) : std::nullopt;
           })
        .has_value();
}

}  // namespace lintra::SharedObjects
