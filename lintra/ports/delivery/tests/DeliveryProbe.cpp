// The other process of the cross-process delivery tests. It attaches the shared objects of the
// namespace in its environment as the library's load does, then:
//   produce LINE COUNT   opens LINE as a start export does and delivers COUNT records numbered
//                        1..COUNT (data bytes 0 and 1, low byte first) through shared memory,
//                        then says "sent"
//   hold-mutex           takes "LintraGlobalMutex", says "locked" and waits to be killed
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "lintra/host/IpcSet.h"
#include "lintra/ports/delivery/EventDelivery.h"
#include "lintra/ports/delivery/EventSlots.h"
#include "lintra/ports/delivery/LineEvents.h"

using namespace lintra;

namespace {

void say(const char *text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

struct ProbeLine : TDeliveryLine {
    explicit ProbeLine(int number) : number(number) {}
    int DeliveryLineNumber() const override { return number; }
    bool DeliveryClosing() const override { return false; }
    int number;
};

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    const std::string command = argv[1];
    int error = 0;
    auto ipc = host::IpcSet::attach(nullptr, &error);
    if (!ipc) return 3;
    EventSlots::Attach(ipc.get());
    LineEvents::instance().createBoth(0);

    if (command == "produce" && argc == 4) {
        ProbeLine line(std::atoi(argv[2]));
        const int count = std::atoi(argv[3]);
        LineEvents::instance().createReady(line.number);
        const TEventTarget shared{DeliveryMode::SharedMemory, 0, nullptr};
        for (int n = 1; n <= count; ++n) {
            EventRecord record{};
            record.line = static_cast<uint16_t>(line.number);
            record.data_length = 2;
            record.data[0] = static_cast<uint8_t>(n);
            record.data[1] = static_cast<uint8_t>(n >> 8);
            SendEvInfo(shared, line, record);
        }
        say("sent");
    } else if (command == "hold-mutex") {
        auto guard = EventSlots::Guard::Lock(host::NamedMutex::kInfinite);
        if (!guard) return 4;
        say("locked");
        for (;;) pause();
    } else {
        return 2;
    }
    LineEvents::instance().freeAll();
    EventSlots::Attach(nullptr);
    return 0;
}
