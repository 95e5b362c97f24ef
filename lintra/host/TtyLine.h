#pragma once
// The kernel's view of a tty line (termios2, which carries any baud rate such as 10400). The
// kernel headers it needs clash with glibc's <termios.h>, so they stay inside TtyLine.cpp and
// this header speaks plain types only.
#include <cstdint>
#include <optional>

namespace lintra::host {

struct TtyLineState {
    uint32_t baud = 9600;
    uint8_t dataBits = 8;
    bool parityEnabled = false;
    bool parityOdd = false;
    bool stickParity = false;  // with parityOdd: mark, without: space
    uint8_t stopBits = 1;
    bool operator==(const TtyLineState &) const = default;
};

// Raw 8-bit mode: no echo, no signals, no translation, no flow control, reads never wait in the
// driver (VMIN = VTIME = 0), receiver on, modem control ignored, lines not dropped on close.
bool makeTtyRaw(int fd);
std::optional<TtyLineState> readTtyLine(int fd);
// Sets the line at once (without waiting for output to drain); errno tells why it failed.
bool writeTtyLine(int fd, const TtyLineState &state);
// Waits until all output has left.
bool drainTty(int fd);
// Discards unread input and unsent output.
bool purgeTty(int fd);

}  // namespace lintra::host
