// The binding against stand-in libraries that record each call or lack one function, and
// against the built liblintra.so with m50-sim on a pseudo-terminal.
#include "zaltor/shell/binding/ContrIntf.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cfenv>
#include <functional>
#include <string>

#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

#if defined(__SANITIZE_ADDRESS__)
// g++ 12's address sanitizer takes the size of a thread's dynamic TLS block from the bytes
// before it, which under its own malloc are no size at all; the leak check at exit then scans a
// wild range for liblintra.so's block (the library stays loaded to the end) and crashes. Without
// that guess the block is still reached through the thread's DTV, heap the leak check follows.
extern "C" const char *__asan_default_options() { return "intercept_tls_get_addr=0"; }
#endif

namespace zaltor::shell {
namespace {

const char *const kBoundFunctions[] = {"CloseCom",     "LCBCommand",  "SendPultCommand",  "StartPanel",
                                       "StartPanelNew", "SendCmdGetReply", "DriverCreate", "DriverDoCmd",
                                       "DriverLineCreate", "DriverLineDoCmd"};

std::string stubWithout(const std::string &function) { return LINTRA_STUB_WITHOUT + function + ".so"; }

bool isLoaded(const std::string &file) {
    void *library = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library != nullptr) dlclose(library);
    return library != nullptr;
}

// A reference of the test's own on a library, so that it stays loaded whatever the binding frees.
// The stubs change the rounding mode when they load; that is undone here as well.
class Held {
public:
    explicit Held(const std::string &file) {
        std::fenv_t saved;
        std::fegetenv(&saved);
        library_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        std::fesetenv(&saved);
    }
    ~Held() { release(); }
    bool ok() const { return library_ != nullptr; }
    void release() {
        if (library_ != nullptr) dlclose(library_);
        library_ = nullptr;
    }
    std::string lastCall() const {
        auto read = reinterpret_cast<const char *(*)()>(dlsym(library_, "LintraStubLastCall"));
        return read != nullptr ? read() : "no stub";
    }

private:
    void *library_ = nullptr;
};

struct Call {
    std::function<int32_t(TLintraCalls &)> make;
    std::string recorded;  // by the stub
    int32_t result;        // from the stub, or unbound
};

TEST(LintraBindingTest, EveryCallReachesItsFunctionWithItsArgumentsInOrder) {
    TLintraBinding binding;
    ASSERT_TRUE(binding.bindFile(LINTRA_STUB)) << binding.error();
    Held stub(LINTRA_STUB);
    const uint8_t params[] = {6, 7, 8};
    const intptr_t wide = static_cast<intptr_t>(0x123456789ALL);  // a pointer is never cut to 32 bits
    const Call calls[] = {
        {[&](TLintraCalls &c) { return c.LCBCommand(3, 6, 0, params); }, "LCBCommand(3,6,0,6)", 11},
        {[&](TLintraCalls &c) { return c.SendPultCommand(4, 5, 80, 3, params); }, "SendPultCommand(4,5,80,3,8)", 12},
        {[&](TLintraCalls &c) { return c.StartPanel(200, "COM3", wide, 9); }, "StartPanel(200,COM3,78187493530,9)", 13},
        {[&](TLintraCalls &c) { return c.DriverCreate(1, "HOST=h\r\nPORT=1"); }, "DriverCreate(1,HOST=h\r\nPORT=1)", 16},
        {[&](TLintraCalls &c) { return c.DriverDoCmd(2, 9, wide, -wide); }, "DriverDoCmd(2,9,78187493530,-78187493530)",
         17},
        {[&](TLintraCalls &c) { return c.DriverLineCreate(5, -1, 4, nullptr); }, "DriverLineCreate(5,-1,4,null)", 18},
        {[&](TLintraCalls &c) { return c.DriverLineDoCmd(6, 9, 0, wide); }, "DriverLineDoCmd(6,9,0,78187493530)", 19},
        {[&](TLintraCalls &c) { return c.CloseCom(255), 0; }, "CloseCom(255)", 0},
    };
    for (const Call &call : calls) {
        EXPECT_EQ(call.make(binding), call.result) << call.recorded;
        EXPECT_EQ(stub.lastCall(), call.recorded);
    }
}

TEST(LintraBindingTest, ReplyComesBackInTheCallersRecord) {
    TLintraBinding binding;
    ASSERT_TRUE(binding.bindFile(LINTRA_STUB)) << binding.error();
    Held stub(LINTRA_STUB);
    const uint8_t params[] = {1, 2};
    LintraEventRecord reply{};
    EXPECT_EQ(binding.SendCmdGetReply(7, 0x10203, 93, 2, params, &reply), 15);
    EXPECT_EQ(stub.lastCall(), "SendCmdGetReply(7,66051,93,2,2)");
    EXPECT_EQ(reply.code, 90);
    EXPECT_EQ(reply.data_length, 1);
    EXPECT_EQ(reply.data[0], 42);
}

TEST(LintraBindingTest, LibraryLackingAnyOneFunctionIsRefusedAndFreed) {
    for (const std::string function : kBoundFunctions) {
        const std::string file = stubWithout(function);
        TLintraBinding binding;
        ASSERT_TRUE(binding.bindFile(LINTRA_STUB)) << binding.error();
        EXPECT_FALSE(binding.bindFile(file)) << function;
        EXPECT_FALSE(binding.bound()) << function;
        EXPECT_NE(binding.error().find(function), std::string::npos) << binding.error();
        EXPECT_FALSE(isLoaded(file)) << function;
        EXPECT_FALSE(isLoaded(LINTRA_STUB)) << "the earlier binding stayed loaded beside " << function;
    }
}

TEST(LintraBindingTest, MissingFileIsRefusedWithTheLoadersReason) {
    testsupport::TempDir dir;
    const std::string missing = (dir / kLintraLibraryName).string();
    TLintraBinding binding;
    EXPECT_FALSE(binding.bindFile(missing));
    EXPECT_FALSE(binding.bound());
    EXPECT_NE(binding.error().find(missing), std::string::npos) << binding.error();
}

TEST(LintraBindingTest, UnbindFreesOnceHoweverOftenItIsCalled) {
    Held stub(LINTRA_STUB);
    Held incomplete(stubWithout("DriverLineDoCmd"));
    ASSERT_TRUE(stub.ok() && incomplete.ok());
    {
        TLintraBinding binding;
        ASSERT_TRUE(binding.bindFile(LINTRA_STUB));
        binding.unbind();
        binding.unbind();
        EXPECT_FALSE(binding.bindFile(stubWithout("DriverLineDoCmd")));
        binding.unbind();
    }  // and once more on destruction
    // Had the binding freed anything twice, it would have dropped the test's own references.
    EXPECT_TRUE(isLoaded(LINTRA_STUB));
    EXPECT_TRUE(isLoaded(stubWithout("DriverLineDoCmd")));
    stub.release();
    incomplete.release();
    EXPECT_FALSE(isLoaded(LINTRA_STUB));
}

TEST(LintraBindingTest, UnboundCallsReachNothingAndAnswerAsForAMissingLine) {
    Held stub(LINTRA_STUB);
    TLintraBinding binding;
    ASSERT_TRUE(binding.bindFile(LINTRA_STUB));
    uint8_t params[12] = {};
    binding.LCBCommand(1, 5, 0, params);
    binding.unbind();
    LintraEventRecord reply{};
    const Call calls[] = {
        {[&](TLintraCalls &c) { return c.CloseCom(1), 0; }, "CloseCom", 0},
        {[&](TLintraCalls &c) { return c.LCBCommand(1, 6, 0, params); }, "LCBCommand", 4},
        {[&](TLintraCalls &c) { return c.SendCmdGetReply(1, 0, 86, 0, params, &reply); }, "SendCmdGetReply", -4},
        {[&](TLintraCalls &c) { return c.SendPultCommand(1, 0, 86, 0, params); }, "SendPultCommand", 4},
        {[&](TLintraCalls &c) { return c.StartPanel(1, "COM1", 0, 1); }, "StartPanel", -4},
        {[&](TLintraCalls &c) { return c.DriverCreate(1, ""); }, "DriverCreate", -1},
        {[&](TLintraCalls &c) { return c.DriverDoCmd(1, 2, 0, 0); }, "DriverDoCmd", 0},
        {[&](TLintraCalls &c) { return c.DriverLineCreate(1, -1, 4, nullptr); }, "DriverLineCreate", -1},
        {[&](TLintraCalls &c) { return c.DriverLineDoCmd(1, 9, 0, 0); }, "DriverLineDoCmd", -1},
    };
    for (const Call &call : calls) EXPECT_EQ(call.make(binding), call.result) << call.recorded;
    EXPECT_EQ(stub.lastCall(), "LCBCommand(1,5,0,0)");
    EXPECT_EQ(reply.code, 0);
}

TEST(LintraBindingTest, LoadingKeepsTheProgramsFloatingPointSettings) {
    ASSERT_FALSE(isLoaded(LINTRA_STUB));  // its constructor must run now
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    TLintraBinding binding;
    EXPECT_FALSE(binding.bindFile(stubWithout("CloseCom")));
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    EXPECT_TRUE(binding.bindFile(LINTRA_STUB));
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

TEST(LintraBindingTest, LibraryBesideTheProgramComesBeforeTheLoadersPath) {
    testsupport::TempDir dir;
    EXPECT_EQ(libraryToLoad(dir.path()), kLintraLibraryName);
    EXPECT_EQ(libraryToLoad({}), kLintraLibraryName);
    dir.write(kLintraLibraryName, "");
    EXPECT_EQ(libraryToLoad(dir.path()), (dir / kLintraLibraryName).string());
}

// The built library, found beside this test program as the loader finds it beside itself.
struct RealLibraryTest : ::testing::Test {
    testsupport::IsolatedHost host;
    TLintraBinding binding;
};

TEST_F(RealLibraryTest, BindsTheLibraryBesideTheProgramAndExchangesWithAPanel) {
    sim::test::SimChild sim(M50_SIM_PATH, {"--pty", "--panel", "5", "--log", (host.dir() / "wire.log").string()});
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    const std::string port = sim.ready().substr(sim.ready().rfind(' ') + 1);

    ASSERT_TRUE(binding.bind()) << binding.error();
    EXPECT_TRUE(isLoaded(LINTRA_LIBRARY));
    TLintraCalls &calls = binding;
    ASSERT_GT(calls.StartPanel(1, port.c_str(), 0, 5), 0);
    LintraEventRecord reply{};
    EXPECT_EQ(calls.SendCmdGetReply(1, 5, 93, 0, nullptr, &reply), 0);  // read the zone count
    EXPECT_EQ(reply.code, 90);
    EXPECT_EQ(reply.address, 5);
    calls.CloseCom(1);
    EXPECT_EQ(calls.SendCmdGetReply(1, 5, 93, 0, nullptr, &reply), -4);

    // The Driver API's answers for objects that do not exist.
    EXPECT_EQ(calls.DriverCreate(99, ""), -2);
    EXPECT_EQ(calls.DriverDoCmd(200, 2, 0, 0), 0);
    EXPECT_EQ(calls.DriverLineCreate(200, -1, 4, nullptr), -1);
    EXPECT_EQ(calls.DriverLineDoCmd(200, 9, 0, 0), -1);
}

}  // namespace
}  // namespace zaltor::shell
