/* Opens the M50 panel at address 5 on a serial port, looks for it with the "last event" request
 * as a loader does, prints the reply and closes the line.
 *
 *   open_panel PORT        PORT: "COM3" (mapped by the machine settings) or a device path
 *
 * The line is opened with no window, so its polled records go to the shared slots; nobody
 * collects them here, which holds up only this line's polling, never the direct exchange. */
#include <stdio.h>

#include "lintra.h"

enum { kLine = 1, kAddress = 5, kLastEvent = 86, kAttempts = 10 };
enum { kPollingOff = 5, kPollingOn = 6 };
enum { kNoConnection = 0x65, kErrorAnswer = 3 };

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s PORT\n", argv[0]);
        return 2;
    }
    int32_t opened = StartPanelNew(kLine, argv[1], kAddress);
    if (opened <= 0) {
        fprintf(stderr, "StartPanel: %d\n", opened);
        return 1;
    }
    LCBCommand(kLine, kPollingOn, 0, NULL);

    LintraEventRecord reply;
    int found = 0;
    for (int attempt = 0; attempt < kAttempts && !found; ++attempt) {
        if (SendCmdGetReply(kLine, 0, kLastEvent, 0, NULL, &reply) != 0) break;
        found = reply.code != kNoConnection && reply.code != kErrorAnswer;
    }
    if (found)
        printf("panel %u answered: code %u, %u data bytes\n", (unsigned)reply.address, (unsigned)reply.code,
               (unsigned)reply.data_length);
    else
        printf("panel %d does not answer\n", kAddress);

    LCBCommand(kLine, kPollingOff, 0, NULL);
    CloseCom(kLine);
    return found ? 0 : 1;
}
