#include "lintra/ports/delivery/EventDelivery.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "lintra/host/WindowRegistry.h"
#include "lintra/include/lintra.h"
#include "lintra/ports/delivery/tests/DeliveryFixture.h"

namespace lintra {
namespace {

using test::FakeLine;

struct Seen {
    std::vector<EventRecord> records;
    std::vector<uint32_t> messages;
    std::vector<intptr_t> args;
};
Seen seen;
intptr_t answeredWindow = 0;

intptr_t windowProc(void *, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
    seen.messages.push_back(msg);
    seen.args.push_back(static_cast<intptr_t>(wparam));
    seen.records.push_back(*reinterpret_cast<const EventRecord *>(lparam));
    return 0;
}

intptr_t throwingProc(void *, uint32_t, uintptr_t, intptr_t) { throw std::runtime_error("client fault"); }

intptr_t callback(void *record, intptr_t arg) {
    if (!record) return answeredWindow;
    seen.args.push_back(arg);
    seen.records.push_back(*static_cast<const EventRecord *>(record));
    return 0;
}

intptr_t throwingCallback(void *, intptr_t) { throw std::runtime_error("no window"); }

class Delivery : public ::testing::Test {
protected:
    void SetUp() override { seen = {}; }
    void TearDown() override {
        for (intptr_t wnd : windows_) LintraUnregisterWindow(wnd);
    }
    intptr_t window(LintraWindowProc proc) { return windows_.emplace_back(LintraRegisterWindow(proc, nullptr)); }

    EventRecord record_ = [] {
        EventRecord record{};
        record.address = 5;
        record.code = 0x57;
        record.data_length = 2;
        record.data[0] = 0x11;
        return record;
    }();

private:
    std::vector<intptr_t> windows_;
};

TEST_F(Delivery, WndChoosesTheMode) {
    const intptr_t registered = window(&windowProc);
    answeredWindow = registered;
    auto shared = ResolveClient(0);
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->mode, DeliveryMode::SharedMemory);
    EXPECT_EQ(shared->window, host::kApplicationWindow);

    auto byWindow = ResolveClient(registered);
    ASSERT_TRUE(byWindow);
    EXPECT_EQ(byWindow->mode, DeliveryMode::Window);
    EXPECT_EQ(byWindow->window, registered);

    auto byCallback = ResolveClient(reinterpret_cast<intptr_t>(&callback));
    ASSERT_TRUE(byCallback);
    EXPECT_EQ(byCallback->mode, DeliveryMode::Callback);
    EXPECT_EQ(byCallback->window, registered) << "the window the callback answered";
    EXPECT_EQ(byCallback->callback, &callback);
}

TEST_F(Delivery, WndThatGivesNoWindowIsRefused) {
    static int data = 0;
    answeredWindow = 0x7777;  // not registered
    EXPECT_FALSE(ResolveClient(reinterpret_cast<intptr_t>(&callback)));
    EXPECT_FALSE(ResolveClient(reinterpret_cast<intptr_t>(&throwingCallback)));
    EXPECT_FALSE(ResolveClient(reinterpret_cast<intptr_t>(&data))) << "not code: never called";
    EXPECT_FALSE(ResolveClient(-2));
}

TEST_F(Delivery, WindowGetsMessage1124WithTheLineSet) {
    FakeLine line(7);
    const TEventTarget target{DeliveryMode::Window, window(&windowProc), nullptr};
    SendEvInfo(target, line, record_);
    ASSERT_EQ(seen.records.size(), 1u);
    EXPECT_EQ(seen.messages[0], 1124u);
    EXPECT_EQ(seen.args[0], 0);
    EXPECT_EQ(seen.records[0].line, 7);
    EXPECT_EQ(seen.records[0].code, 0x57);
    EXPECT_EQ(seen.records[0].data[0], 0x11);
}

TEST_F(Delivery, CallbackGetsTheRecordAndZero) {
    FakeLine line(9);
    answeredWindow = window(&windowProc);
    SendEvInfo(TEventTarget{DeliveryMode::Callback, answeredWindow, &callback}, line, record_);
    ASSERT_EQ(seen.records.size(), 1u);
    EXPECT_EQ(seen.args[0], 0);
    EXPECT_EQ(seen.records[0].line, 9);
    EXPECT_TRUE(seen.messages.empty()) << "the window itself gets nothing";
}

TEST_F(Delivery, LineZeroAndAFaultyClientDeliverNothingAndDoNotStopTheLine) {
    FakeLine zero(0);
    SendEvInfo(TEventTarget{DeliveryMode::Window, window(&windowProc), nullptr}, zero, record_);
    SendEvInfo(TEventTarget{DeliveryMode::Callback, 0, &callback}, zero, record_);
    EXPECT_TRUE(seen.records.empty());

    FakeLine line(3);
    SendEvInfo(TEventTarget{DeliveryMode::Window, window(&throwingProc), nullptr}, line, record_);
    SendEvInfo(TEventTarget{DeliveryMode::Window, 0x5555, nullptr}, line, record_);  // never registered
    SendEvInfo(TEventTarget{DeliveryMode::Window, window(&windowProc), nullptr}, line, record_);
    EXPECT_EQ(seen.records.size(), 1u);
}

}  // namespace
}  // namespace lintra
