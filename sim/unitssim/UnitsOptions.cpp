#include "sim/unitssim/UnitsOptions.h"

#include "sim/units/UnitEvent.h"

namespace sim {

const std::string &unitsUsage() {
    static const std::string text = R"(Usage: units-sim [LINE] [--units LIST] [options]
Simulates the units of an intelligent line-controller line, which the PC polls itself: each
unit answers a poll (code 2) with its oldest stored event or code 0 when it has none, a repeat
request (0x12) with the event it sent last, a known command with code 0 and an unknown one
with code 3 (error 3), a request with a wrong checksum with code 3 (error 1); a unit marked
absent is reported silent (0x62). Frames to 0xFE are carried out by all units, unanswered.

Line (one of; the default is --pty):
  --pty                 open a pseudo-terminal (the serial line); the ready line names it
  --link PATH           with --pty: also make PATH a symlink to the slave (removed at exit)
  --device PATH         serve an existing tty device
  --tcp PORT            serve 127.0.0.1:PORT (0 = any free port, named on the ready line) with
                        every message framed by the type/length header (type 0 a frame,
                        type 1 the greeting the PC sends after connecting)

Units and wire:
  --units LIST          unit addresses 0..250, as 0-9,12,200-250 (default 1)
  --expect-greeting T   with --tcp: frames of a client go unanswered until it greeted with T
  --mode M              speed mode of a --device or --tcp line (0 default, 1, 2)
  --pace                send every byte at the line's baud rate
  --pad N               pad every answer with zero bytes to N bytes
  --log FILE            the wire log (default standard error), millisecond time stamps

Control:
  --control PATH        a unix socket for control commands, one per line, each answered by a
                        final line "ok ..." or "error ...":
      units                              list the unit addresses
      event ADDR CODE [BYTE|now]...      store an event frame from unit ADDR with CODE and
                                         its data bytes ("now": the two time bytes of the
                                         present day, hour and minute); answers the queue length
      clear ADDR                         drop the unit's stored events
      absent ADDR on|off                 report the unit silent (0x62) to every request
      fault ADDR KIND [ARG] [times N]    KIND: silent, error CODE, checksum, cut [N],
                                         stray [BYTE], delay MS, mode M
      fault ADDR KIND off | fault ADDR off
      counts ADDR                        "ok heard H answered A polls P repeats R events E
                                         commands C broadcasts B queued Q"
      greeting                           "ok COUNT [TEXT]": greetings received and the last
      header type T [times N]            TCP answers with header type T
      header length L [times N]          TCP answers announcing L bytes (cut or zero-padded)
      header off
      dump [ADDR]                        one line per unit, then ok
)" + unitSimUsageEnd("units-sim");
    return text;
}

Parsed<UnitsOptions> parseUnitsOptions(const std::vector<std::string> &args) {
    UnitsOptions o;
    std::string why = parseServeArgs(args, o, [&o](const std::string &a, const NextValue &value) -> std::optional<std::string> {
        if (a == "--units") return takeUnitList(value(), o.units);
        if (a == "--expect-greeting") {
            const std::string *v = value();
            if (!v) return "--expect-greeting needs a text";
            o.expectedGreeting = *v;
        } else {
            return std::nullopt;
        }
        return "";
    });
    if (!why.empty()) return {std::nullopt, why};
    if (o.expectedGreeting && o.transport != LineOptions::Transport::Tcp)
        return {std::nullopt, "--expect-greeting goes with --tcp"};
    if (o.pad > 0 && o.transport == LineOptions::Transport::Tcp)
        return {std::nullopt, "--pad would corrupt the TCP framing (header length misframes on purpose)"};
    if (o.units.empty()) o.units.push_back(1);
    return {o, {}};
}

}  // namespace sim
