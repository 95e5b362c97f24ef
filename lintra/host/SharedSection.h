#pragma once
// A named section of shared memory (POSIX shm). Whoever creates it (O_CREAT | O_EXCL succeeds)
// initialises it and then raises its ready flag; whoever finds it existing waits for that flag,
// so nobody reads a half-made section. The caller's bytes follow a small header.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lintra::host {

class SharedSection {
public:
    // Runs in the creating process only, on zero-filled bytes, before anyone else may use them.
    // False: the section is not published, and createOrOpen fails with ENOTSUP.
    using Initialiser = std::function<bool(void *data, size_t size)>;

    // baseName is undecorated ("LintraGlobalData"); IpcName adds the prefix and suffix.
    // nullptr with *error on failure: EINVAL when an existing section is smaller than size,
    // ETIMEDOUT when its creator never finished, ENOTSUP when the initialiser failed.
    static std::unique_ptr<SharedSection> createOrOpen(std::string_view baseName, size_t size,
                                                       const Initialiser &init, int *error);
    // Removes the name; processes that have it mapped keep their mapping.
    static void remove(std::string_view baseName);

    ~SharedSection();
    SharedSection(const SharedSection &) = delete;
    SharedSection &operator=(const SharedSection &) = delete;

    void *data() const;
    size_t size() const { return size_; }
    // True in the process that created the section.
    bool created() const { return created_; }
    const std::string &name() const { return name_; }

private:
    SharedSection(std::string name, void *mapping, size_t size, bool created)
        : name_(std::move(name)), mapping_(mapping), size_(size), created_(created) {}

    std::string name_;
    void *mapping_;
    size_t size_;
    bool created_;
};

}  // namespace lintra::host
