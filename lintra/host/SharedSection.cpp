#include "lintra/host/SharedSection.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include "lintra/host/IpcName.h"

namespace lintra::host {

namespace {

struct alignas(64) SectionHeader {
    std::atomic<uint32_t> ready;
};
static_assert(std::atomic<uint32_t>::is_always_lock_free, "the ready flag is shared between processes");
constexpr size_t kHeaderSize = sizeof(SectionHeader);
static_assert(kHeaderSize == 64);

// How long an opener waits for the creator to size and initialise the section.
constexpr auto kCreatorGrace = std::chrono::seconds(2);

SectionHeader *headerOf(void *mapping) { return static_cast<SectionHeader *>(mapping); }

void *mapSection(int fd, size_t bytes) {
    void *mapping = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return mapping == MAP_FAILED ? nullptr : mapping;
}

// Waits until the creator has sized the section and raised its ready flag; errno on failure.
void *openExisting(int fd, size_t bytes) {
    const auto giveUp = std::chrono::steady_clock::now() + kCreatorGrace;
    void *mapping = nullptr;
    for (;;) {
        if (!mapping) {
            struct stat info{};
            if (fstat(fd, &info) != 0) return nullptr;
            if (info.st_size != 0 && static_cast<size_t>(info.st_size) < bytes) {
                errno = EINVAL;
                return nullptr;
            }
            if (info.st_size != 0 && !(mapping = mapSection(fd, bytes))) return nullptr;
        }
        if (mapping && headerOf(mapping)->ready.load(std::memory_order_acquire) == 1) return mapping;
        if (std::chrono::steady_clock::now() >= giveUp) {
            if (mapping) munmap(mapping, bytes);
            errno = ETIMEDOUT;
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

std::unique_ptr<SharedSection> SharedSection::createOrOpen(std::string_view baseName, size_t size,
                                                           const Initialiser &init, int *error) {
    const std::string name = ipcObjectName(baseName);
    const size_t bytes = kHeaderSize + size;
    bool created = true;
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0600);
    }
    void *mapping = nullptr;
    if (fd >= 0) {
        if (!created) {
            mapping = openExisting(fd, bytes);
        } else if (ftruncate(fd, static_cast<off_t>(bytes)) == 0 && (mapping = mapSection(fd, bytes))) {
            if (!init || init(static_cast<char *>(mapping) + kHeaderSize, size)) {
                headerOf(mapping)->ready.store(1, std::memory_order_release);
            } else {
                munmap(mapping, bytes);
                mapping = nullptr;
                errno = ENOTSUP;
            }
        }
    }
    int failure = errno;
    if (fd >= 0) ::close(fd);
    if (!mapping) {
        if (created && fd >= 0) shm_unlink(name.c_str());  // a section nobody can finish
        if (error) *error = failure;
        return nullptr;
    }
    if (error) *error = 0;
    return std::unique_ptr<SharedSection>(new SharedSection(name, mapping, size, created));
}

void SharedSection::remove(std::string_view baseName) { shm_unlink(ipcObjectName(baseName).c_str()); }

SharedSection::~SharedSection() { munmap(mapping_, kHeaderSize + size_); }

void *SharedSection::data() const { return static_cast<char *>(mapping_) + kHeaderSize; }

}  // namespace lintra::host
