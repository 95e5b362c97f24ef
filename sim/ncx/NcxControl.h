#pragma once
// The control language of ncx-sim. Every command answers with one line, "ok ..." or "error ...":
//   status                  ok connections=C bytes=B packets=P malformed=M unrouted=U
//                           authorised=yes|no config=CCCCCCCCCCCCCCCC pace=N silent=on|off
//                           refuse-password=on|off
//   drop                    TCP: close the client; pty: restart, dropping pending input
//   silent on|off           send nothing (received lines are still read and counted)
//   refuse-password on|off  answer every password as wrong
//   malformed               send the line "T1LFXZZZD00"
//   endless N               send N printable characters without a terminator, then fall silent
//   burst N                 send N version answers of the default text back to back: "ok N"
//   restart                 restart the controller: a new session and the start notice
//   pace on|off, hangup, quit
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/ncx/NcxController.h"
#include "sim/panel/ServerCommands.h"

namespace sim {

class NcxControl {
public:
    static constexpr uint32_t kMaxEndless = 1000000;
    static constexpr uint32_t kMaxBurst = 1000000;

    NcxControl(NcxController &controller, ControlHooks hooks, std::function<void()> drop)
        : controller_(controller), hooks_(std::move(hooks)), drop_(std::move(drop)) {}

    std::string execute(std::string_view command);

    // What the commands had the controller send of its own accord, taken once.
    std::string takeOutput() { return std::exchange(output_, {}); }
    bool hasOutput() const { return !output_.empty(); }

private:
    using Fields = std::vector<std::string>;
    std::string status() const;
    std::string endless(const Fields &f);
    std::string burst(const Fields &f);

    NcxController &controller_;
    ControlHooks hooks_;
    std::function<void()> drop_;
    std::string output_;
};

}  // namespace sim
