#pragma once
// The two tuning values of the command exchange, read once at start-up from "Zaltor.ini".
#include <filesystem>

namespace zaltor::shell {

struct ZaltorParams {
    int replayParam = 3;  // most attempts of one panel command
    int sleepParam = 50;  // milliseconds of pause after an attempt while more are allowed
};

// Section "PARAMS", keys "ReplayParam" and "SleepParam"; a missing file or key gives the default.
// A negative pause counts as none.
ZaltorParams readZaltorParams(const std::filesystem::path &file = "Zaltor.ini");

}  // namespace zaltor::shell
