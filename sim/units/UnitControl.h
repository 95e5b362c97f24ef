#pragma once
// The control language of units-sim. Every command answers with one final line, "ok ..." or
// "error ...", after any lines of data (dump). Commands:
//   units                                   ok ADDR ...
//   event ADDR CODE [BYTE|now]...           store an event frame; ok QUEUED
//   clear ADDR                              drop the unit's stored events
//   absent ADDR on|off                      the unit reported silent (code 0x62) or back
//   fault ADDR KIND [ARG] [times N]         a fault of the unit's answers (KIND: silent,
//                                           error CODE, checksum, cut [N], stray [BYTE],
//                                           delay MS, mode M); fault ADDR [KIND] off
//   counts ADDR                             ok heard H answered A polls P repeats R events E
//                                           commands C broadcasts B queued Q
//   greeting                                ok COUNT [TEXT]: greetings received, the last
//   header type T|length L [times N]        misframe the TCP answers; header off
//   dump [ADDR]                             one line per unit, then ok
//   pace on|off, hangup, quit
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/panel/CivilTime.h"
#include "sim/panel/ControlCommands.h"
#include "sim/units/NetState.h"
#include "sim/units/UnitLine.h"

namespace sim {

class UnitControl {
public:
    UnitControl(UnitLine &line, NetState &net, ControlHooks hooks, std::function<CivilTime()> clock = localNow)
        : line_(line), net_(net), hooks_(std::move(hooks)), clock_(std::move(clock)) {}

    std::string execute(std::string_view command);

private:
    using Fields = std::vector<std::string>;
    std::string absent(const Fields &f);
    std::string counts(const Fields &f);
    std::string header(const Fields &f);
    std::string dump(const Fields &f);
    LineUnit *unitOf(const std::string &field);

    UnitLine &line_;
    NetState &net_;
    ControlHooks hooks_;
    std::function<CivilTime()> clock_;
};

// One unit as a dump line: "unit ADDR absent 0|1 queued Q last HEX|-".
std::string describeUnit(const LineUnit &u);

}  // namespace sim
