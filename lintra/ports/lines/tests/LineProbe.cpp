// A second client process: loads liblintra.so, opens line 1 on the port with a callback,
// switches polling on, says "polling", and prints the first polled message it receives as
// "message P1" (its first parameter byte in hex), or "none".
//   lintra_line_probe LIBRARY PORT
#include <cstdio>

#include "lintra/ports/lines/tests/LintraApi.h"

using lintra::test::CallbackInbox;

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    lintra::test::LintraApi api(argv[1]);
    if (!api.ok()) return 3;
    CallbackInbox::instance().window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
    if (api.StartPanel(1, argv[2], reinterpret_cast<intptr_t>(&CallbackInbox::callback), 5) != 1) return 4;
    api.LCBCommand(1, 6, 0, nullptr);
    std::printf("polling\n");
    std::fflush(stdout);
    auto message = CallbackInbox::instance().next([](const LintraEventRecord &r) { return r.code == 0x57; }, 20000);
    if (message)
        std::printf("message %02X\n", message->data[1]);
    else
        std::printf("none\n");
    std::fflush(stdout);
    api.CloseCom(1);
    return 0;
}
