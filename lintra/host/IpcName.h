#pragma once
// Names of the kernel objects the library shares between processes. Each name gets a leading
// "/" and a suffix: the user's numeric id, which gives every user's session objects of its own,
// or the value of LINTRA_IPC_NAMESPACE when set, so that tests running side by side never meet.
#include <filesystem>
#include <string>
#include <string_view>

namespace lintra::host {

// The suffix: LINTRA_IPC_NAMESPACE (a "/" in it becomes "_") or the user id.
std::string ipcNamespace();
// "/" + base + "." + suffix, the form shm_open takes.
std::string ipcObjectName(std::string_view base);
// Where the lock files that track the attached processes live: /dev/shm beside the sections,
// else $XDG_RUNTIME_DIR, else /tmp.
std::filesystem::path ipcLockDirectory();

}  // namespace lintra::host
