#include "lintra/host/TtyLine.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace lintra::host {

namespace {

bool get(int fd, termios2 &tio) { return ioctl(fd, TCGETS2, &tio) == 0; }
bool set(int fd, const termios2 &tio) { return ioctl(fd, TCSETS2, &tio) == 0; }

tcflag_t sizeFlag(uint8_t dataBits) {
    switch (dataBits) {
        case 5: return CS5;
        case 6: return CS6;
        case 7: return CS7;
        default: return CS8;
    }
}

uint8_t dataBitsOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5: return 5;
        case CS6: return 6;
        case CS7: return 7;
        default: return 8;
    }
}

}  // namespace

bool makeTtyRaw(int fd) {
    termios2 tio{};
    if (!get(fd, tio)) return false;
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(HUPCL | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return set(fd, tio);
}

std::optional<TtyLineState> readTtyLine(int fd) {
    termios2 tio{};
    if (!get(fd, tio)) return std::nullopt;
    TtyLineState state;
    state.baud = tio.c_ospeed;
    state.dataBits = dataBitsOf(tio.c_cflag);
    state.parityEnabled = (tio.c_cflag & PARENB) != 0;
    state.parityOdd = (tio.c_cflag & PARODD) != 0;
    state.stickParity = (tio.c_cflag & CMSPAR) != 0;
    state.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    return state;
}

bool writeTtyLine(int fd, const TtyLineState &state) {
    termios2 tio{};
    if (!get(fd, tio)) return false;
    tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT) | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT) | sizeFlag(state.dataBits);
    if (state.parityEnabled) tio.c_cflag |= PARENB;
    if (state.parityOdd) tio.c_cflag |= PARODD;
    if (state.stickParity) tio.c_cflag |= CMSPAR;
    if (state.stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_ispeed = state.baud;
    tio.c_ospeed = state.baud;
    return set(fd, tio);
}

bool drainTty(int fd) { return ioctl(fd, TCSBRK, 1) == 0; }

bool purgeTty(int fd) { return ioctl(fd, TCFLSH, TCIOFLUSH) == 0; }

}  // namespace lintra::host
