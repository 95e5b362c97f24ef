#include "sim/serve/TtySettings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace sim {

std::optional<LineSettings> readTtySettings(int fd) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return std::nullopt;
    unsigned size = t.c_cflag & CSIZE;
    LineSettings s;
    s.baud = t.c_ospeed;
    s.dataBits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
    s.parityEnabled = t.c_cflag & PARENB;
    s.stickParity = t.c_cflag & CMSPAR;
    s.oddParity = t.c_cflag & PARODD;
    s.twoStopBits = t.c_cflag & CSTOPB;
    return s;
}

bool applyTtySettings(int fd, const LineSettings &s) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = BOTHER | CS8 | CREAD | CLOCAL;
    if (s.parityEnabled) t.c_cflag |= PARENB;
    if (s.stickParity) t.c_cflag |= CMSPAR;
    if (s.oddParity) t.c_cflag |= PARODD;
    if (s.twoStopBits) t.c_cflag |= CSTOPB;
    t.c_ispeed = t.c_ospeed = s.baud;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace sim
