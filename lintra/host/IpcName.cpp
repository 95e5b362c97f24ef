#include "lintra/host/IpcName.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace lintra::host {

namespace {

bool writableDirectory(const char *path) {
    std::error_code ec;
    return path && *path && std::filesystem::is_directory(path, ec) && access(path, W_OK | X_OK) == 0;
}

}  // namespace

std::string ipcNamespace() {
    const char *chosen = std::getenv("LINTRA_IPC_NAMESPACE");
    if (!chosen || !*chosen) return std::to_string(getuid());
    std::string suffix(chosen);
    std::replace(suffix.begin(), suffix.end(), '/', '_');
    return suffix;
}

std::string ipcObjectName(std::string_view base) { return "/" + std::string(base) + "." + ipcNamespace(); }

std::filesystem::path ipcLockDirectory() {
    if (writableDirectory("/dev/shm")) return "/dev/shm";
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (writableDirectory(runtime)) return runtime;
    return "/tmp";
}

}  // namespace lintra::host
