#pragma once
// Faults a test switches on for one panel. Each applies to the next `times` answers, or until
// switched off when `times` is 0; the speed-mode fault holds until switched off.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

enum class FaultKind : uint8_t {
    Silent,    // no answer; the request is lost
    Error,     // answer code 3 with the error code arg; the request is not carried out
    Checksum,  // the answer's checksum is wrong
    Cut,       // the answer's last arg bytes are not sent
    Stray,     // the byte arg goes out before the answer
    Delay,     // the answer goes out arg milliseconds late
    Mode,      // the panel understands the line only in speed mode arg
    DropWrite, // a write of command arg is acknowledged but not stored (panels only)
};
constexpr size_t kFaultKinds = 8;

const char *faultName(FaultKind kind);
std::optional<FaultKind> faultByName(const std::string &name);

struct FaultSetting {
    bool active = false;
    uint32_t arg = 0;
    uint32_t remaining = 0;  // 0: until switched off
};

class FaultSet {
public:
    void set(FaultKind kind, uint32_t arg, uint32_t times = 0);
    void clear(FaultKind kind) { settings_[index(kind)] = {}; }
    void clearAll() { settings_ = {}; }
    const FaultSetting &get(FaultKind kind) const { return settings_[index(kind)]; }
    // False while the mode fault binds the device to another speed mode than `speedMode`.
    bool allowsMode(int speedMode) const;
    // The fault's argument when it is active, counting one use of it.
    std::optional<uint32_t> take(FaultKind kind);

private:
    static size_t index(FaultKind kind) { return static_cast<size_t>(kind); }
    std::array<FaultSetting, kFaultKinds> settings_{};
};

}  // namespace sim
