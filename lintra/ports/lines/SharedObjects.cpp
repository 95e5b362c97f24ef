#include "lintra/ports/lines/SharedObjects.h"

#include <cstring>

#include "lintra/host/MessageBox.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra::SharedObjects {

namespace {

host::IpcSet *gIpc = nullptr;

uint16_t *openLineCountField() {
    return gIpc ? reinterpret_cast<uint16_t *>(gIpc->controllerMap().data()) : nullptr;
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

uint16_t OpenLineCount() {
    uint16_t *count = openLineCountField();
    return count ? __atomic_load_n(count, __ATOMIC_SEQ_CST) : 0;
}

uint16_t IncrementOpenLineCount() {
    uint16_t *count = openLineCountField();
    return count ? __atomic_add_fetch(count, 1, __ATOMIC_SEQ_CST) : 0;
}

void DecrementOpenLineCount() {
    uint16_t *count = openLineCountField();
    if (!count) return;
    uint16_t seen = __atomic_load_n(count, __ATOMIC_SEQ_CST);
    while (seen > 0 &&
           !__atomic_compare_exchange_n(count, &seen, uint16_t(seen - 1), false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
    }
}

}  // namespace lintra::SharedObjects
