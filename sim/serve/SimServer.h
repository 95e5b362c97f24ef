#pragma once
// The simulator's single-threaded loop: reads the line, lets the responder answer, sends the
// answers and the responder's unasked frames when due (late by a delay fault, byte by byte
// when paced), and serves the control socket, until a signal or quit() stops it.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "sim/serve/ControlSocket.h"
#include "sim/serve/LineResponder.h"
#include "sim/serve/LineTransport.h"
#include "sim/serve/WireLog.h"

namespace sim {

class SimServer {
public:
    SimServer(LineTransport &transport, ControlSocket &control, WireLog &log, bool pace, unsigned pad);
    // Runs until SIGTERM, SIGINT or quit(); the caller blocks those signals beforehand.
    void run(LineResponder &responder);
    // For the responder's control commands.
    void setPace(bool on) { pace_ = on; }
    void quit() { quit_ = true; }
    // Closes every TCP client, as a gateway that drops its connections.
    void hangUp();
    // Drops the line's connections: closes every TCP client; a pty or device loses its pending
    // input and unsent output and gets a fresh reader, as a device just switched on.
    void drop(LineResponder &responder);
    static uint64_t nowUs();
    static uint64_t nowMs() { return nowUs() / 1000; }

private:
    // The loop wakes at least this often, to release a closed client's exclusive mode.
    static constexpr uint64_t kIdleTickMs = 500;

    struct Chunk {
        uint64_t dueUs;
        Bytes bytes;
        Bytes logged;  // the whole transmission, on its first chunk only
        std::string detail;
    };
    struct Stream {
        int fd;
        bool owned;  // a TCP client, closed when it goes
        std::unique_ptr<StreamReader> reader;
        std::deque<Chunk> out;
        uint64_t freeAtUs = 0;
    };

    static bool hasDue(const Stream &s, uint64_t now);
    int pollTimeoutMs(uint64_t now, const LineResponder &responder) const;
    bool readStream(Stream &s);
    void writeDue(Stream &s);
    void schedule(Stream &s, const Transmission &tx, size_t requestBytes);
    void addStream(int fd, bool owned, LineResponder &responder);
    void openReader(Stream &s, LineResponder &responder);
    int speedMode();

    LineTransport &transport_;
    ControlSocket &control_;
    WireLog &log_;
    bool pace_;
    unsigned pad_;
    bool quit_ = false;
    std::optional<LineSettings> lastSettings_;
    std::vector<Stream> streams_;
};

}  // namespace sim
