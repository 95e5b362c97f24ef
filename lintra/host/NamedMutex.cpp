#include "lintra/host/NamedMutex.h"

namespace lintra::host {

std::unique_ptr<NamedMutex> NamedMutex::createOrOpen(std::string_view baseName, int *error) {
    auto section = SharedSection::createOrOpen(
        baseName, sizeof(pthread_mutex_t),
        [](void *data, size_t) { return initSharedMutex(static_cast<pthread_mutex_t *>(data), true); }, error);
    if (!section) return nullptr;
    return std::unique_ptr<NamedMutex>(new NamedMutex(std::move(section)));
}

LockResult NamedMutex::lock(uint32_t timeoutMs) {
    if (timeoutMs == kInfinite) return lockShared(mutex(), std::nullopt);
    return lockShared(mutex(), std::chrono::milliseconds(timeoutMs));
}

bool NamedMutex::unlock() { return pthread_mutex_unlock(mutex()) == 0; }

}  // namespace lintra::host
