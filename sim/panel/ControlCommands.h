#pragma once
// The line-based control language of the simulator. Every command answers with one final line,
// "ok ..." or "error ...", after any lines of data (dump). Commands:
//   panels                                  ok ADDR:FORMAT ...
//   event ADDR TYPE [P1 [P2 [COUNT]]]       store COUNT messages; ok NUMBER (of the last)
//   next ADDR N                             number of the next stored message
//   zone ADDR Z [state HH] [block HH] [timer N]   loop state, block type (hex), timer
//   counts ADDR                             ok heard H answered A (frames to it, answers)
//   fault ADDR KIND [ARG] [times N]         switch a fault on (KIND: silent, error CODE,
//                                           checksum, cut [N], stray [BYTE], delay MS, mode M)
//   fault ADDR KIND off | fault ADDR off    switch one or every fault off
//   pace on|off                             pace every sent byte at the line's baud rate
//   dump [ADDR]                             the state file text, then ok
//   save FILE | load FILE                   write or read the state file
//   hangup                                  close every TCP client
//   quit                                    stop the simulator
// ADDR, TYPE, P1, P2 and BYTE are decimal or 0x-prefixed hex.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/panel/PanelLine.h"
#include "sim/panel/ServerCommands.h"

namespace sim {

class ControlInterpreter {
public:
    ControlInterpreter(PanelLine &line, ControlHooks hooks) : line_(line), hooks_(std::move(hooks)) {}

    // The full answer to one command line, each line ending in "\n".
    std::string execute(std::string_view command, uint64_t nowMs);

    static const char *help();

private:
    using Fields = std::vector<std::string>;
    std::string event(const Fields &f, uint64_t nowMs);
    std::string next(const Fields &f);
    std::string zone(const Fields &f);
    std::string counts(const Fields &f);
    std::string fault(const Fields &f);
    std::string dump(const Fields &f, uint64_t nowMs);
    std::string save(const Fields &f, uint64_t nowMs);
    std::string load(const Fields &f, uint64_t nowMs);
    LinePanel *panelOf(const std::string &field);

    PanelLine &line_;
    ControlHooks hooks_;
};

}  // namespace sim
