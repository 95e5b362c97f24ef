#include "lintra/host/WindowRegistry.h"

#include <algorithm>
#include <vector>

#include "lintra/host/ExecutableMappings.h"

namespace lintra::host {

namespace {

intptr_t ignoreMessage(void *, uint32_t, uintptr_t, intptr_t) { return 0; }

// The windows whose procedure the current thread is inside, innermost last.
thread_local std::vector<const void *> callsOfThisThread;

}  // namespace

WindowRegistry::WindowRegistry() {
    windows_[kApplicationWindow] = std::make_shared<Window>(Window{&ignoreMessage, nullptr});
}

WindowRegistry &WindowRegistry::instance() {
    static WindowRegistry *registry = new WindowRegistry;  // outlives threads still sending at exit
    return *registry;
}

intptr_t WindowRegistry::add(WindowProc proc, void *context) {
    if (!proc) return 0;
    std::lock_guard lock(mutex_);
    intptr_t handle = nextHandle_++;
    windows_[handle] = std::make_shared<Window>(Window{proc, context});
    return handle;
}

void WindowRegistry::remove(intptr_t wnd) {
    if (wnd == kApplicationWindow) return;
    std::unique_lock lock(mutex_);
    auto found = windows_.find(wnd);
    if (found == windows_.end()) return;
    std::shared_ptr<Window> window = found->second;
    windows_.erase(found);
    const auto own = std::count(callsOfThisThread.begin(), callsOfThisThread.end(), window.get());
    callEnded_.wait(lock, [&] { return window->calls == own; });
}

bool WindowRegistry::isWindow(intptr_t wnd) const {
    std::lock_guard lock(mutex_);
    return windows_.count(wnd) != 0;
}

std::optional<intptr_t> WindowRegistry::send(intptr_t wnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    std::shared_ptr<Window> window;
    {
        std::lock_guard lock(mutex_);
        auto found = windows_.find(wnd);
        if (found == windows_.end()) return std::nullopt;
        window = found->second;
        ++window->calls;
    }
    struct CallEnd {
        WindowRegistry &registry;
        Window &window;
        ~CallEnd() {
            callsOfThisThread.pop_back();
            std::lock_guard lock(registry.mutex_);
            --window.calls;
            registry.callEnded_.notify_all();
        }
    };
    callsOfThisThread.push_back(window.get());
    CallEnd end{*this, *window};
    return window->proc(window->context, msg, wparam, lparam);
}

bool isCallbackAddress(intptr_t wnd) {
    return wnd != 0 && !WindowRegistry::instance().isWindow(wnd) && isExecutableAddress(static_cast<uintptr_t>(wnd));
}

}  // namespace lintra::host
