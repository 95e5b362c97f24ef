#pragma once
// A mutex shared between processes under a name: a robust, process-shared, recursive pthread
// mutex in a section of its own. A holder that dies does not wedge the others: the next locker
// gets LockResult::Recovered and holds the mutex.
#include <cstdint>
#include <memory>
#include <string_view>

#include "lintra/host/SharedPthread.h"
#include "lintra/host/SharedSection.h"

namespace lintra::host {

class NamedMutex {
public:
    static constexpr uint32_t kInfinite = UINT32_MAX;

    // Created not owned; nullptr with *error on failure.
    static std::unique_ptr<NamedMutex> createOrOpen(std::string_view baseName, int *error);
    static void remove(std::string_view baseName) { SharedSection::remove(baseName); }

    // Acquired and Recovered mean the caller holds the mutex and must unlock it.
    LockResult lock(uint32_t timeoutMs);
    // False when the calling thread does not hold the mutex.
    bool unlock();
    bool created() const { return section_->created(); }

private:
    explicit NamedMutex(std::unique_ptr<SharedSection> section) : section_(std::move(section)) {}
    pthread_mutex_t *mutex() const { return static_cast<pthread_mutex_t *>(section_->data()); }

    std::unique_ptr<SharedSection> section_;
};

}  // namespace lintra::host
