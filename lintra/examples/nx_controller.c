/* Creates a driver for an NCX network controller on TCP, brings its link up, asks for a poll
 * pace, lets the driver's thread keep the link for two seconds and destroys the driver.
 *
 *   nx_controller HOST PORT [PASSWORD]
 *
 * CD_Connect runs the start-up exchange on the calling thread and answers 1 once the link is
 * up; from CD_Start on, the driver's own thread keeps it (keep-alive, reconnection). */
#include <stdio.h>
#include <unistd.h>

#include "lintra.h"

enum { kTcpDriver = 1 };
enum { kStart = 2, kDestroy = 9, kConnect = 16, kSetQryDelay = 33 };

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: %s HOST PORT [PASSWORD]\n", argv[0]);
        return 2;
    }
    char params[512];
    snprintf(params, sizeof params, "Host=%s\r\nPort=%s\r\nPassword=%s", argv[1], argv[2], argc == 4 ? argv[3] : "");
    int32_t driver = DriverCreate(kTcpDriver, params);
    if (driver < 1) {
        fprintf(stderr, "DriverCreate: %d\n", driver);
        return 1;
    }
    int up = DriverDoCmd(driver, kConnect, 0, 0) == 1;
    DriverDoCmd(driver, kStart, 0, 0);
    if (up) {
        DriverDoCmd(driver, kSetQryDelay, 10, 0);
        sleep(2);
    }
    printf(up ? "controller link up\n" : "controller does not answer\n");
    DriverDoCmd(driver, kDestroy, 0, 0);
    return up ? 0 : 1;
}
