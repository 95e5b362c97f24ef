#pragma once
// What crossed the wire in one m50-sim wire log: the frames the panel received (rx) and sent
// (tx), their bytes, and their wire time at the speed mode the line was in when each went.
#include <cstdint>
#include <string>

namespace bench {

struct WireTally {
    int requests = 0;
    int answers = 0;
    uint64_t requestBytes = 0;
    uint64_t answerBytes = 0;
    double wireSeconds = 0;
    int lastMode = -1;  // the speed mode of the last "line" note
};

// A byte takes 10 bits on the wire, 11 in a mode with the ninth bit. Throws std::runtime_error
// when the file cannot be read or a frame comes before any line setting names a speed mode.
WireTally tallyWireLog(const std::string &path);

}  // namespace bench
