#pragma once
// The control language of lcb-sim. Every command answers with one final line, "ok ..." or
// "error ...", after any lines of data (dump). Commands:
//   units                              ok ADDR ...
//   event ADDR CODE [BYTE|now]...      store an event in unit ADDR; ok QUEUED
//   clear ADDR                         drop the unit's stored events
//   state                              ok polling on|off count N option V mask HEX
//   counts                             ok received R bad B internal I commands C broadcasts W
//                                      acks A events E idle D muted M
//   counts ADDR                        ok commands C forwarded F queued Q
//   fault KIND [ARG] [times N]         a fault of everything the controller sends (KIND:
//                                      silent, error CODE, checksum, cut [N], stray [BYTE],
//                                      delay MS); fault [KIND] off
//   dump                               state and one line per unit, then ok
//   pace on|off, hangup, quit
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/lcb/LineController.h"
#include "sim/panel/CivilTime.h"
#include "sim/panel/ControlCommands.h"

namespace sim {

class ControllerControl {
public:
    ControllerControl(LineController &controller, ControlHooks hooks, std::function<CivilTime()> clock = localNow)
        : controller_(controller), hooks_(std::move(hooks)), clock_(std::move(clock)) {}

    std::string execute(std::string_view command);

private:
    using Fields = std::vector<std::string>;
    std::string counts(const Fields &f);
    std::string state() const;
    ControllerUnit *unitOf(const std::string &field);

    LineController &controller_;
    ControlHooks hooks_;
    std::function<CivilTime()> clock_;
};

}  // namespace sim
