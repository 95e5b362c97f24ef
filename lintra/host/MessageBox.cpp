#include "lintra/host/MessageBox.h"

#include <unistd.h>

#include <atomic>
#include <string>

#include "lintra/host/HostLog.h"

namespace lintra::host {

namespace {
std::atomic<MessageBoxHandler> handler{nullptr};
}

void setMessageBoxHandler(MessageBoxHandler newHandler) { handler.store(newHandler, std::memory_order_release); }

void showMessageBox(std::string_view text, std::string_view caption, uint32_t flags) {
    const std::string line = std::string(caption) + ": " + std::string(text);
    hostLog(flags & kMessageBoxIconStop ? kLogError : kLogWarning, "MessageBox " + line);
    if (MessageBoxHandler show = handler.load(std::memory_order_acquire)) {
        show(std::string(text).c_str(), std::string(caption).c_str(), flags);
        return;
    }
    const std::string out = line + "\n";
    [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, out.data(), out.size());
}

}  // namespace lintra::host
