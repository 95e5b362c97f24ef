#pragma once
// The simulator's wire log: one line per frame received or sent and per notable event, with a
// local time stamp to the millisecond, so a failing test can show the wire.
#include <cstdio>
#include <span>
#include <string>

namespace sim {

class WireLog {
public:
    // Standard error when path is empty; false when the file cannot be opened.
    bool open(const std::string &path);
    ~WireLog();

    // direction: "rx", "tx", "skip", "drop"; detail is appended in brackets when not empty.
    void bytes(const char *direction, std::span<const uint8_t> data, const std::string &detail = {});
    void note(const std::string &text);

private:
    void line(const std::string &text);
    std::FILE *out_ = stderr;
};

}  // namespace sim
