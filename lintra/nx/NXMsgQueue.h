#pragma once
// TNXMsgQueue: a bounded queue of whole TNXMsg records, copied in and out by value. It locks
// itself, so client threads and the driver thread share it.
#include <vector>

#include "lintra/nx/NXMsg.h"
#include "lintra/runtime/DumbQueue.h"

namespace lintra::nx {

class TNXMsgQueue final : public TDumbQueue {
public:
    explicit TNXMsgQueue(int capacity);
    ~TNXMsgQueue() override;

    bool Put(const TNXMsg &msg) { return TDumbQueue::Put(&msg); }
    bool Get(TNXMsg &msg) { return TDumbQueue::Get(&msg); }
    bool Peek(TNXMsg &msg) { return TDumbQueue::Peek(&msg); }
    // Removes the oldest message.
    bool Drop() { return TDumbQueue::Get(nullptr); }

protected:
    bool PutItem(int slot, const void *item) override;
    bool GetItem(int slot, void *destination) override;

private:
    std::vector<TNXMsg> items_;
};

}  // namespace lintra::nx
