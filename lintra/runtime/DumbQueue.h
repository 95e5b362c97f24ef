#pragma once
// TDumbQueue: a bounded ring queue under a re-entrant lock, with an event set after every put
// and one set after every get. A subclass may keep the items elsewhere by overriding PutItem
// and GetItem (the base keeps one 32-bit value per slot, read from and written to the
// caller's pointer).
#include <cstdint>
#include <vector>

#include "lintra/runtime/IPC.h"

namespace lintra {

class TDumbQueue {
public:
    explicit TDumbQueue(int capacity);
    virtual ~TDumbQueue();
    TDumbQueue(const TDumbQueue &) = delete;
    TDumbQueue &operator=(const TDumbQueue &) = delete;

    // False at once when the queue is full (or the item could not be stored).
    bool Put(const void *item);
    // False at once when the queue is empty; a null destination discards the oldest item.
    bool Get(void *destination);
    bool Peek(void *destination);
    // Put, or after waiting at most timeoutMs for a get, Put once more.
    bool PutWait(const void *item, uint32_t timeoutMs);
    // Get, or after waiting at most timeoutMs for a put, Get once more. A false answer only
    // means that nothing is there now: an event left from an earlier put can end the wait early.
    bool GetWait(void *destination, uint32_t timeoutMs);
    void Clear();

    int Capacity() const { return capacity_; }
    int Count() { return ReadLocked(count_); }
    int Free() { return ReadLocked(free_); }
    int ReadIndex() { return ReadLocked(readIndex_); }
    int WriteIndex() { return ReadLocked(writeIndex_); }

protected:
    struct Slot {
        int32_t number;
        uint32_t value;
    };
    virtual bool PutItem(int slot, const void *item);
    virtual bool GetItem(int slot, void *destination);

private:
    int ReadLocked(const int &field);

    int readIndex_ = 0;
    int writeIndex_ = 0;
    const int capacity_;
    int free_;
    int count_ = 0;
    std::vector<Slot> slots_;
    TIPCMutex lock_;
    TIPCEvent added_;
    TIPCEvent removed_;
};

}  // namespace lintra
