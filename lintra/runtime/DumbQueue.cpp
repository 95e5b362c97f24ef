#include "lintra/runtime/DumbQueue.h"

#include <algorithm>
#include <cstring>

namespace lintra {

namespace {

// Holds a TIPCMutex for a scope (infinite wait).
class Hold {
public:
    explicit Hold(TIPCMutex &mutex) : mutex_(mutex), held_(mutex.Acquire()) {}
    ~Hold() {
        if (held_) mutex_.Release();
    }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;

private:
    TIPCMutex &mutex_;
    bool held_;
};

int Advance(int index, int capacity) { return index + 1 == capacity ? 0 : index + 1; }

}  // namespace

TDumbQueue::TDumbQueue(int capacity) : capacity_(std::max(capacity, 0)), free_(capacity_) {
    slots_.reserve(static_cast<size_t>(capacity_));
    for (int i = 0; i < capacity_; ++i) slots_.push_back({i, 0});
}

// Virtual calls from here reach the base GetItem, which only discards: what a subclass keeps
// elsewhere is its own to free.
TDumbQueue::~TDumbQueue() { Clear(); }

bool TDumbQueue::PutItem(int slot, const void *item) {
    if (item == nullptr) return false;
    std::memcpy(&slots_[static_cast<size_t>(slot)].value, item, sizeof(uint32_t));
    return true;
}

bool TDumbQueue::GetItem(int slot, void *destination) {
    if (destination != nullptr) {
        std::memcpy(destination, &slots_[static_cast<size_t>(slot)].value, sizeof(uint32_t));
    }
    return true;
}

bool TDumbQueue::Put(const void *item) {
    Hold hold(lock_);
    if (free_ < 1 || !PutItem(writeIndex_, item)) return false;
    writeIndex_ = Advance(writeIndex_, capacity_);
    ++count_;
    --free_;
    added_.SetEvent();
    return true;
}

bool TDumbQueue::Peek(void *destination) {
    Hold hold(lock_);
    return count_ >= 1 && GetItem(readIndex_, destination);
}

bool TDumbQueue::Get(void *destination) {
    Hold hold(lock_);
    if (!Peek(destination)) return false;
    readIndex_ = Advance(readIndex_, capacity_);
    --count_;
    ++free_;
    removed_.SetEvent();
    return true;
}

bool TDumbQueue::PutWait(const void *item, uint32_t timeoutMs) {
    if (Put(item)) return true;
    removed_.WaitFor(timeoutMs);
    return Put(item);
}

bool TDumbQueue::GetWait(void *destination, uint32_t timeoutMs) {
    if (Get(destination)) return true;
    added_.WaitFor(timeoutMs);
    return Get(destination);
}

void TDumbQueue::Clear() {
    Hold hold(lock_);
    while (Get(nullptr)) {
    }
}

int TDumbQueue::ReadLocked(const int &field) {
    Hold hold(lock_);
    return field;
}

}  // namespace lintra
