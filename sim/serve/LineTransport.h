#pragma once
// Where the simulated line lives: a pseudo-terminal the simulator opens, an existing tty
// device, or a TCP listener on loopback whose every client is one stream of the line.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/panel/LineSettings.h"

namespace sim {

// The line a simulator serves, as its command line chose it.
struct LineOptions {
    enum class Transport { Pty, Device, Tcp };
    Transport transport = Transport::Pty;
    std::string link;    // --link: symlink to the pty slave
    std::string device;  // --device
    uint16_t tcpPort = 0;
    int mode = 0;  // speed mode of a device or TCP line
};

class LineTransport {
public:
    // Opens the line of the options; nullptr with the reason in `error` on failure.
    static std::unique_ptr<LineTransport> open(const LineOptions &o, std::string &error);
    ~LineTransport();
    LineTransport(const LineTransport &) = delete;
    LineTransport &operator=(const LineTransport &) = delete;

    // The stream of a pty or device; -1 for TCP.
    int streamFd() const { return streamFd_; }
    // The listening socket for TCP; -1 otherwise.
    int listenFd() const { return listenFd_; }
    // Accepts a pending TCP client: its non-blocking descriptor, or -1.
    int accept() const;
    // Clears the exclusive mode a client set on the pty slave. The mode outlives the client's
    // close while the master is open, and would refuse the client's next open unless it runs
    // as root; clients keep their exclusivity with flock, which this leaves alone.
    void releaseExclusive() const;
    // The line's present settings: read from the pty, fixed by --mode elsewhere.
    LineSettings settings() const;
    // "pty /dev/pts/3", "device /dev/ttyS1", "tcp 40123".
    const std::string &readyText() const { return ready_; }

private:
    LineTransport() = default;
    bool openPty(const LineOptions &o, std::string &error);
    bool openDevice(const LineOptions &o, std::string &error);
    bool openTcp(const LineOptions &o, std::string &error);

    int streamFd_ = -1;
    int slaveFd_ = -1;  // held open so the master never sees a hang-up between clients
    int listenFd_ = -1;
    bool isPty_ = false;
    LineSettings fixed_;
    std::string link_;
    std::string ready_;
};

}  // namespace sim
