#pragma once
// The NCX network controller: answers its own packets (line F) and hands those for lines 0 to E
// to the line models of the configuration in force. Each connection and each restart begins a
// new session: the password must be given again, and configuration, lines and poll pace are
// those of a controller just switched on.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sim/ncx/NcxLineModel.h"
#include "sim/ncx/NcxPacket.h"

namespace sim {

struct NcxSettings {
    std::string password;  // at most 16 characters; empty: none
    std::string versionText = "NCX-SIM 1.0";
};

struct NcxCounters {
    uint64_t connections = 0;  // streams opened: TCP clients, the pty at start and after a drop
    uint64_t bytes = 0;        // received
    uint64_t packets = 0;      // received lines that are packets
    uint64_t malformed = 0;    // received lines that are not, over-long ones included
    uint64_t unrouted = 0;     // packets for a slot without a line model
};

struct NcxFaults {
    bool silent = false;          // send nothing; received lines are counted, not acted on
    bool refusePassword = false;  // answer every password as wrong
};

class NcxController {
public:
    static constexpr size_t kSlots = 15;  // lines 0 to E
    static constexpr size_t kConfigChars = 16;

    explicit NcxController(NcxSettings settings, NcxLineFactory factory = makeLineModel)
        : settings_(std::move(settings)), factory_(std::move(factory)) {}

    // A new connection: a new session; the start notice to send.
    std::string connect();
    // A restart: a new session; the start notice to send.
    std::string restart();

    struct Outcome {
        std::string reply;  // packet lines ending in CR, or empty
        std::string note;   // why nothing was done, for the wire log
    };
    // One received line, terminator removed.
    Outcome receive(std::string_view line);

    bool authorised() const { return session_.authorised; }
    const std::string &configuration() const { return session_.configuration; }
    unsigned pace() const { return session_.pace; }

    NcxCounters counters;
    NcxFaults faults;

private:
    struct Session {
        bool authorised = false;
        std::string configuration = std::string(kConfigChars, '9');
        unsigned pace = 0;
        std::array<std::unique_ptr<NcxLineModel>, kSlots> lines;
    };

    std::string system(const NcxPacket &packet);
    Outcome toLine(const NcxPacket &packet);
    std::string takePassword(const std::string &data);
    std::string setPace(const std::string &data);
    std::string configure(const std::string &data);
    bool locked() const { return !settings_.password.empty() && !session_.authorised; }

    NcxSettings settings_;
    NcxLineFactory factory_;
    Session session_;
};

}  // namespace sim
