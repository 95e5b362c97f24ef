#include "lintra/nx/NXMsgQueue.h"

#include <algorithm>
#include <cstring>

namespace lintra::nx {

TNXMsgQueue::TNXMsgQueue(int capacity) : TDumbQueue(capacity), items_(static_cast<size_t>(std::max(capacity, 0))) {}

// The records need no freeing; the base only counts them out.
TNXMsgQueue::~TNXMsgQueue() = default;

bool TNXMsgQueue::PutItem(int slot, const void *item) {
    if (item == nullptr) return false;
    std::memcpy(&items_[static_cast<size_t>(slot)], item, sizeof(TNXMsg));
    return true;
}

bool TNXMsgQueue::GetItem(int slot, void *destination) {
    if (destination != nullptr) std::memcpy(destination, &items_[static_cast<size_t>(slot)], sizeof(TNXMsg));
    return true;
}

}  // namespace lintra::nx
