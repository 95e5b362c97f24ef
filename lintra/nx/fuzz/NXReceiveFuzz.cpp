// Feeds arbitrary bytes as what a connected controller sends to a running NX driver, in pieces
// whose size the first byte chooses, one pass per piece, with lines attached at two slots. A
// drop is allowed (the bytes may well be nonsense) but the driver must come back up at the next
// pass and never hold more than its bounded buffers and queue.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lintra/nx/tests/FakeDriver.h"
#include "lintra/nx/tests/ScriptedLink.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace lintra::nx;
    if (size == 0) return 0;
    const size_t piece = data[0] % 32 + 1;
    test::ControllerModel controller;
    test::ScriptedDriver driver(controller);
    const TParamList params;
    driver.Init(&params);
    test::FakeLine low(driver), high(driver);
    low.SetLineNumber(driver.AddLine(&low, 0));
    high.SetLineNumber(driver.AddLine(&high, 14));
    for (size_t at = 1; at < size; at += piece) {
        if (!driver.Connected()) driver.Pass();
        Check(driver.Connected());
        const size_t count = std::min(piece, size - at);
        driver.link().Push(std::string(reinterpret_cast<const char *>(data + at), count));
        driver.Time().advance(driver.Pass());
        Check(driver.SystemQueueCount() <= TNXDriver::kSysQueuePlaces);
        Check(driver.Overflows() >= 0);
    }
    return 0;
}
