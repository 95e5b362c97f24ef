#pragma once
// THandleTable: the slots behind the Driver API's handles. A handle is a slot number 1..255;
// anything else names nothing and is never used as an index. A new object takes the lowest
// free slot, so a freed handle is the next one given out. The caller holds TablesLock() around
// every call.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lintra::nx {

template <typename T>
class THandleTable {
public:
    static constexpr int32_t kSlots = 255;

    constexpr THandleTable() = default;

    // The object's new handle, or 0 when every slot is taken.
    int32_t Take(T *object) {
        for (int32_t handle = 1; handle <= kSlots; ++handle) {
            T *&slot = slots_[static_cast<size_t>(handle - 1)];
            if (slot) continue;
            slot = object;
            ++count_;
            return handle;
        }
        return 0;
    }
    // Empties the slot only while it still holds this object: a slot emptied by DriversDestroy
    // may already hold a newer object.
    void Release(int32_t handle, const T *object) {
        if (!Valid(handle)) return;
        T *&slot = slots_[static_cast<size_t>(handle - 1)];
        if (slot != object || !object) return;
        slot = nullptr;
        --count_;
    }
    T *Find(int32_t handle) const { return Valid(handle) ? slots_[static_cast<size_t>(handle - 1)] : nullptr; }
    // What the table holds, in handle order.
    std::vector<T *> All() const {
        std::vector<T *> objects;
        for (T *slot : slots_) {
            if (slot) objects.push_back(slot);
        }
        return objects;
    }
    // Empties the table; answers what it held in handle order.
    std::vector<T *> TakeAll() {
        std::vector<T *> objects;
        for (T *&slot : slots_) {
            if (slot) objects.push_back(slot);
            slot = nullptr;
        }
        count_ = 0;
        return objects;
    }
    int32_t Count() const { return count_; }

private:
    static constexpr bool Valid(int32_t handle) { return handle >= 1 && handle <= kSlots; }

    std::array<T *, kSlots> slots_{};
    int32_t count_ = 0;
};

}  // namespace lintra::nx
