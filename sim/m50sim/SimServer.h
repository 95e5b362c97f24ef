#pragma once
// The simulator's single-threaded loop: reads the line, lets the panels answer, sends the
// answers when due (late by a delay fault, byte by byte when paced), and serves the control
// socket, until a signal or the quit command stops it.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/m50sim/ControlSocket.h"
#include "sim/m50sim/LineTransport.h"
#include "sim/m50sim/WireLog.h"
#include "sim/panel/ControlCommands.h"
#include "sim/panel/FrameReceiver.h"
#include "sim/panel/PanelLine.h"

namespace sim {

class SimServer {
public:
    SimServer(PanelLine &line, LineTransport &transport, ControlSocket &control, WireLog &log,
              bool pace, unsigned pad);
    // Runs until SIGTERM, SIGINT or quit; the caller blocks those signals beforehand.
    void run();
    static uint64_t nowUs();

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
        FrameReceiver receiver;
        std::deque<Chunk> out;
        uint64_t freeAtUs = 0;
    };

    static bool hasDue(const Stream &s, uint64_t now);
    int pollTimeoutMs(uint64_t now) const;
    bool readStream(Stream &s);
    void writeDue(Stream &s);
    void schedule(Stream &s, const Transmission &tx, size_t requestBytes);
    int speedMode();

    PanelLine &line_;
    LineTransport &transport_;
    ControlSocket &control_;
    WireLog &log_;
    ControlInterpreter interpreter_;
    bool pace_;
    unsigned pad_;
    bool quit_ = false;
    std::optional<LineSettings> lastSettings_;
    std::vector<Stream> streams_;
};

}  // namespace sim
