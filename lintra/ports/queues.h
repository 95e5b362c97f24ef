#pragma once
// TQueue: a fixed-capacity ring of equal-size elements, the outgoing frame queue of every line.
// It holds at most capacity - 1 elements; a Put into a full ring drops the oldest element, so a
// stalled line keeps the newest commands. Client threads put while the line's driver thread peeks
// and takes, so every operation runs under one short lock.
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

#include "lintra/runtime/CommonProc.h"

namespace lintra {

template <typename Element>
class TQueue {
    static_assert(std::is_trivially_copyable_v<Element>, "queue elements are copied as bytes");

public:
    static constexpr size_t kMaxCapacity = 32767;

    // nullptr when the capacity is outside 2..kMaxCapacity (a ring of one slot holds nothing).
    static std::unique_ptr<TQueue> Create(size_t capacity) {
        if (capacity > kMaxCapacity) LogMain("TQueue more them max elements requested", 4);
        if (capacity < 2 || capacity > kMaxCapacity) return nullptr;
        return std::unique_ptr<TQueue>(new TQueue(capacity));
    }

    size_t Capacity() const { return slots_.size(); }

    size_t Count() const {
        std::lock_guard lock(mutex_);
        return countLocked();
    }

    // Free places as the command exports report them: capacity - Count.
    size_t Free() const { return Capacity() - Count(); }

    void Put(const Element &element) {
        std::lock_guard lock(mutex_);
        slots_[write_] = element;
        write_ = next(write_);
        if (write_ == read_) read_ = next(read_);
    }

    std::optional<Element> Peek() const {
        std::lock_guard lock(mutex_);
        if (write_ == read_) return std::nullopt;
        return slots_[read_];
    }

    std::optional<Element> Get() {
        std::lock_guard lock(mutex_);
        if (write_ == read_) return std::nullopt;
        const Element element = slots_[read_];
        read_ = next(read_);
        return element;
    }

    // Makes element the next one to be taken: it replaces the head of a non-empty queue and is
    // put into an empty one. A closing line uses it to send its stop frame before anything else.
    void ReplaceHeadOrPut(const Element &element) {
        std::lock_guard lock(mutex_);
        if (write_ == read_) {
            slots_[write_] = element;
            write_ = next(write_);
        } else {
            slots_[read_] = element;
        }
    }

private:
    explicit TQueue(size_t capacity) : slots_(capacity) {}

    size_t next(size_t index) const { return index + 1 == slots_.size() ? 0 : index + 1; }
    size_t countLocked() const { return (write_ + slots_.size() - read_) % slots_.size(); }

    mutable std::mutex mutex_;
    std::vector<Element> slots_;
    size_t write_ = 0;
    size_t read_ = 0;
};

}  // namespace lintra
