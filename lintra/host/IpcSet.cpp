#include "lintra/host/IpcSet.h"

#include <sys/file.h>

#include <cstdio>

#include "lintra/host/IpcName.h"

namespace lintra::host {

namespace {

constexpr const char *kGlobalData = "LintraGlobalData";
constexpr const char *kGlobalMutex = "LintraGlobalMutex";
constexpr const char *kControllerMap = "contrmemfilemap";

std::filesystem::path lockPath(const char *kind) {
    return ipcLockDirectory() / ("LintraIpc." + ipcNamespace() + "." + kind);
}

std::string lineName(const char *base, uint8_t line) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", line);
    return base + std::string(digits);
}

}  // namespace

std::string IpcSet::dataEventName(uint8_t line) { return lineName("LintraDataEvent", line); }
std::string IpcSet::readyEventName(uint8_t line) { return lineName("LintraReadyEvent", line); }

std::shared_ptr<NamedEvent> IpcSet::dataEvent(uint8_t line, int *error) {
    return NamedEvent::createOrOpen(dataEventName(line), true, error);
}

std::shared_ptr<NamedEvent> IpcSet::readyEvent(uint8_t line, int *error) {
    return NamedEvent::createOrOpen(readyEventName(line), false, error);
}

void IpcSet::removeObjects() {
    SharedSection::remove(kGlobalData);
    NamedMutex::remove(kGlobalMutex);
    SharedSection::remove(kControllerMap);
    for (int line = 0; line <= 0xFF; ++line) {
        NamedEvent::remove(dataEventName(static_cast<uint8_t>(line)));
        NamedEvent::remove(readyEventName(static_cast<uint8_t>(line)));
    }
}

std::unique_ptr<IpcSet> IpcSet::attach(const SharedSection::Initialiser &initControllerMap, int *error) {
    LockFile gate(lockPath("gate"), LOCK_EX);
    std::unique_ptr<IpcSet> set(new IpcSet);
    int failure = gate.isHeld() ? 0 : gate.error();
    if (!failure) {
        set->attached_ = std::make_unique<LockFile>(lockPath("lock"), LOCK_EX | LOCK_NB);
        set->first_ = set->attached_->isHeld();
        if (set->first_) {
            removeObjects();  // left by processes that died attached
            // Nobody else can lock meanwhile: every attach and detach goes through the gate.
            if (!set->attached_->relock(LOCK_SH)) failure = set->attached_->error();
        } else {
            set->attached_ = std::make_unique<LockFile>(lockPath("lock"), LOCK_SH);
            if (!set->attached_->isHeld()) failure = set->attached_->error();
        }
    }
    if (!failure) set->globalData_ = SharedSection::createOrOpen(kGlobalData, kGlobalDataSize, nullptr, &failure);
    if (!failure) set->globalMutex_ = NamedMutex::createOrOpen(kGlobalMutex, &failure);
    if (!failure)
        set->controllerMap_ = SharedSection::createOrOpen(kControllerMap, kControllerMapSize, initControllerMap, &failure);
    if (error) *error = failure;
    if (!failure) return set;
    if (set->attached_) set->detach(gate);
    return nullptr;
}

IpcSet::~IpcSet() {
    if (!attached_) return;
    LockFile gate(lockPath("gate"), LOCK_EX);
    detach(gate);
}

void IpcSet::detach(LockFile &gate) {
    globalData_.reset();
    globalMutex_.reset();
    controllerMap_.reset();
    if (gate.isHeld() && attached_->isHeld() && attached_->relock(LOCK_EX | LOCK_NB)) {
        removeObjects();
        attached_->removeFile();
        gate.removeFile();
    }
    attached_.reset();
}

}  // namespace lintra::host
