#include "lintra/host/WindowRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "LogCapture.h"
#include "lintra/host/IpcSet.h"
#include "lintra/host/MessageBox.h"
#include "lintra/include/lintra.h"
#include "testsupport/TempDir.h"

using lintra::host::isCallbackAddress;
using lintra::host::kApplicationWindow;
using lintra::host::kEventMessage;
using lintra::host::WindowRegistry;

namespace {

struct Received {
    uint32_t msg = 0;
    intptr_t lparam = 0;
    int calls = 0;
};

intptr_t recordingProc(void *context, uint32_t msg, uintptr_t, intptr_t lparam) {
    auto *received = static_cast<Received *>(context);
    received->msg = msg;
    received->lparam = lparam;
    ++received->calls;
    return 77;
}

TEST(WindowRegistry, SendingCallsTheRegisteredProcedureUntilItIsRemoved) {
    Received received;
    const intptr_t wnd = LintraRegisterWindow(&recordingProc, &received);
    ASSERT_NE(wnd, 0);
    EXPECT_NE(LintraRegisterWindow(&recordingProc, &received), wnd) << "every registration has its own handle";
    EXPECT_TRUE(WindowRegistry::instance().isWindow(wnd));

    uint8_t record[22] = {};
    auto answer = WindowRegistry::instance().send(wnd, kEventMessage, 0, reinterpret_cast<intptr_t>(record));
    EXPECT_EQ(answer, 77);
    EXPECT_EQ(received.msg, 1124u);
    EXPECT_EQ(received.lparam, reinterpret_cast<intptr_t>(record));

    LintraUnregisterWindow(wnd);
    EXPECT_FALSE(WindowRegistry::instance().isWindow(wnd));
    EXPECT_EQ(WindowRegistry::instance().send(wnd, kEventMessage, 0, 0), std::nullopt);
    EXPECT_EQ(received.calls, 1);
    EXPECT_EQ(LintraRegisterWindow(nullptr, nullptr), 0);
}

TEST(WindowRegistry, TheApplicationWindowIsFixedAndStays) {
    WindowRegistry registry;
    EXPECT_TRUE(registry.isWindow(kApplicationWindow));
    EXPECT_EQ(registry.send(kApplicationWindow, kEventMessage, 0, 0), 0);
    registry.remove(kApplicationWindow);
    EXPECT_TRUE(registry.isWindow(kApplicationWindow));
}

TEST(WindowRegistry, RemovalWaitsForACallInFlightAndAProcedureMayRemoveItself) {
    struct Blocking {
        std::atomic<bool> entered{false}, release{false}, returned{false};
    } state;
    auto blockingProc = [](void *context, uint32_t, uintptr_t, intptr_t) -> intptr_t {
        auto *s = static_cast<Blocking *>(context);
        s->entered = true;
        while (!s->release) std::this_thread::yield();
        s->returned = true;
        return 0;
    };
    WindowRegistry registry;
    const intptr_t wnd = registry.add(blockingProc, &state);
    std::thread sender([&] { registry.send(wnd, kEventMessage, 0, 0); });
    while (!state.entered) std::this_thread::yield();
    std::atomic<bool> removedBeforeReturn{false};
    std::thread remover([&] {
        registry.remove(wnd);
        removedBeforeReturn = !state.returned;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the remover reach its wait
    state.release = true;
    sender.join();
    remover.join();
    EXPECT_FALSE(removedBeforeReturn);

    struct SelfRemoving {
        WindowRegistry *registry;
        intptr_t wnd;
    } self{&registry, 0};
    self.wnd = registry.add(
        [](void *context, uint32_t, uintptr_t, intptr_t) -> intptr_t {
            auto *s = static_cast<SelfRemoving *>(context);
            s->registry->remove(s->wnd);
            return 1;
        },
        &self);
    EXPECT_EQ(registry.send(self.wnd, kEventMessage, 0, 0), 1);
    EXPECT_FALSE(registry.isWindow(self.wnd));
}

intptr_t aCallback(void *, intptr_t) { return 0; }

TEST(CallbackAddress, OnlyCodeOfTheProcessCounts) {
    auto heap = std::make_unique<int>(5);
    int onStack = 0;
    Received received;
    const intptr_t wnd = LintraRegisterWindow(&recordingProc, &received);
    EXPECT_TRUE(isCallbackAddress(reinterpret_cast<intptr_t>(&aCallback)));
    EXPECT_TRUE(isCallbackAddress(reinterpret_cast<intptr_t>(&LintraRegisterWindow)));
    EXPECT_FALSE(isCallbackAddress(reinterpret_cast<intptr_t>(heap.get())));
    EXPECT_FALSE(isCallbackAddress(reinterpret_cast<intptr_t>(&onStack)));
    EXPECT_FALSE(isCallbackAddress(0x12345));
    EXPECT_FALSE(isCallbackAddress(-1));
    EXPECT_FALSE(isCallbackAddress(0));
    EXPECT_FALSE(isCallbackAddress(wnd)) << "a window is not a callback";
    LintraUnregisterWindow(wnd);
}

TEST(WaitEventExport, WaitsOnLiveEventsOnlyAndConsumesTheSignal) {
    testsupport::IsolatedHost host;
    auto set = lintra::host::IpcSet::attach(nullptr, nullptr);
    ASSERT_TRUE(set);
    auto event = lintra::host::IpcSet::readyEvent(4, nullptr);
    ASSERT_TRUE(event);
    const intptr_t handle = event->handle();
    EXPECT_FALSE(LintraWaitEvent(handle, 0));
    ASSERT_TRUE(event->set());
    EXPECT_TRUE(LintraWaitEvent(handle, 1000));
    EXPECT_FALSE(LintraWaitEvent(handle, 0));
    EXPECT_FALSE(LintraWaitEvent(0, 0));
    EXPECT_FALSE(LintraWaitEvent(0x12345, 0));
    event.reset();
    EXPECT_FALSE(LintraWaitEvent(handle, 0)) << "a freed event's handle is refused";
}

struct Shown {
    std::string text, caption;
    uint32_t flags = 0;
} shown;

void recordBox(const char *text, const char *caption, uint32_t flags) { shown = {text, caption, flags}; }

TEST(MessageBox, GoesToTheHandlerOrElseToStandardErrorAndAlwaysToTheLog) {
    LogCapture log;
    LintraSetMessageBoxHandler(&recordBox);
    lintra::host::showMessageBox("Не удается открыть последовательный порт", "COM3", 0x10);
    EXPECT_EQ(shown.text, "Не удается открыть последовательный порт");
    EXPECT_EQ(shown.caption, "COM3");
    EXPECT_EQ(shown.flags, 0x10u);

    LintraSetMessageBoxHandler(nullptr);
    testing::internal::CaptureStderr();
    lintra::host::showMessageBox("Memory mapping error!", "Error", 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Memory mapping error!\n");
    EXPECT_EQ(shown.caption, "COM3") << "the cleared handler is not called";
    EXPECT_EQ(log.matching("COM3: Не удается").size(), 1u);
    EXPECT_EQ(log.matching("Error: Memory mapping error!").size(), 1u);
}

}  // namespace
