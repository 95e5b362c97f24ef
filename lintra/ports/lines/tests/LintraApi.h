#pragma once
// The exports of liblintra.so a test client uses, bound with dlopen, so each process loads the
// real library afresh after the test has set up its host (current directory, hives, IPC names).
#include <dlfcn.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "lintra/include/lintra.h"

namespace lintra::test {

struct LintraApi {
    void *handle = nullptr;
    decltype(&::StartPanel) StartPanel = nullptr;
    decltype(&::CloseCom) CloseCom = nullptr;
    decltype(&::LCBCommand) LCBCommand = nullptr;
    decltype(&::SendPultCommand) SendPultCommand = nullptr;
    decltype(&::SendCmdGetReply) SendCmdGetReply = nullptr;
    decltype(&::LintraRegisterWindow) LintraRegisterWindow = nullptr;
    // Line-controller lines; tests of those check them themselves.
    decltype(&::StartCom) StartCom = nullptr;
    decltype(&::StartIntCom) StartIntCom = nullptr;
    decltype(&::StartNetCom) StartNetCom = nullptr;
    decltype(&::StartNetRS) StartNetRS = nullptr;
    decltype(&::SendContrCommand) SendContrCommand = nullptr;

    explicit LintraApi(const char *path) : handle(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle) return;
        bind(StartPanel, "StartPanel");
        bind(CloseCom, "CloseCom");
        bind(LCBCommand, "LCBCommand");
        bind(SendPultCommand, "SendPultCommand");
        bind(SendCmdGetReply, "SendCmdGetReply");
        bind(LintraRegisterWindow, "LintraRegisterWindow");
        bind(StartCom, "StartCom");
        bind(StartIntCom, "StartIntCom");
        bind(StartNetCom, "StartNetCom");
        bind(StartNetRS, "StartNetRS");
        bind(SendContrCommand, "SendContrCommand");
    }
    ~LintraApi() {
        if (handle) ::dlclose(handle);
    }
    LintraApi(const LintraApi &) = delete;
    LintraApi &operator=(const LintraApi &) = delete;

    bool ok() const {
        return StartPanel && CloseCom && LCBCommand && SendPultCommand && SendCmdGetReply && LintraRegisterWindow;
    }

private:
    template <typename F>
    void bind(F &f, const char *name) {
        f = reinterpret_cast<F>(::dlsym(handle, name));
    }
};

// Records a line delivers to its callback, handed to the test's thread.
class CallbackInbox {
public:
    static CallbackInbox &instance() {
        static CallbackInbox inbox;
        return inbox;
    }
    // The callback given as Wnd: (nullptr, -1) at start answers the window registered for it.
    static intptr_t callback(void *record, intptr_t arg) {
        CallbackInbox &inbox = instance();
        if (!record) return arg == -1 ? inbox.window : 0;
        std::lock_guard lock(inbox.mutex_);
        inbox.records_.push_back(*static_cast<LintraEventRecord *>(record));
        inbox.arrived_.notify_all();
        return 0;
    }
    static intptr_t ignore(void *, uint32_t, uintptr_t, intptr_t) { return 0; }

    // The next record that satisfies match, waiting at most ms; earlier ones are dropped.
    template <typename Match>
    std::optional<LintraEventRecord> next(Match match, int ms) {
        std::unique_lock lock(mutex_);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            while (!records_.empty()) {
                LintraEventRecord r = records_.front();
                records_.pop_front();
                if (match(r)) return r;
            }
            if (arrived_.wait_until(lock, deadline) == std::cv_status::timeout && records_.empty()) return std::nullopt;
        }
    }

    intptr_t window = 0;

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<LintraEventRecord> records_;
};

}  // namespace lintra::test
