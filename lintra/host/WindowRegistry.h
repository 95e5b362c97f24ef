#pragma once
// Window handles for a platform without windows: a client registers a procedure and gets a
// handle; "is a window" means "is registered"; sending a message calls the procedure at once on
// the sender's thread. Handle 1 is the library's own application window, which ignores
// messages and cannot be unregistered.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace lintra::host {

using WindowProc = intptr_t (*)(void *context, uint32_t msg, uintptr_t wparam, intptr_t lparam);

inline constexpr uint32_t kEventMessage = 1124;  // the user message base + 100
inline constexpr intptr_t kApplicationWindow = 1;

class WindowRegistry {
public:
    WindowRegistry();
    static WindowRegistry &instance();

    // 0 when proc is null.
    intptr_t add(WindowProc proc, void *context);
    // Once it returns the procedure is not called again; calls in flight on other threads are
    // waited for (a procedure may unregister its own window).
    void remove(intptr_t wnd);
    bool isWindow(intptr_t wnd) const;
    // The procedure's answer, or nullopt when wnd is not a window.
    std::optional<intptr_t> send(intptr_t wnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);

private:
    struct Window {
        WindowProc proc;
        void *context;
        int calls = 0;
    };
    mutable std::mutex mutex_;
    std::condition_variable callEnded_;
    std::unordered_map<intptr_t, std::shared_ptr<Window>> windows_;
    intptr_t nextHandle_ = 0x1000;
};

// A Wnd that is neither 0 nor a window is taken as a callback only when it points into an
// executable mapping of the process (which also admits the trampolines FFI clients make).
bool isCallbackAddress(intptr_t wnd);

}  // namespace lintra::host
