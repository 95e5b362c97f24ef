#include "sim/lcbsim/LcbOptions.h"

#include "sim/panel/TextFields.h"
#include "sim/units/UnitEvent.h"

namespace sim {

const std::string &lcbUsage() {
    static const std::string text = R"(Usage: lcb-sim [LINE] [--units LIST] [options]
Simulates a line controller that polls its own units and forwards their events to the PC as
frames. It acknowledges every unit command of the acknowledged set (5, 6, 8, 11, 12, 15, 16,
17, 20, 22, 23, 29, 31, 32, 33, 34, 41, 44, 46, 49, 51, 52, 54, 57) with a frame of code 0x64
from the unit's address, and sends an idle frame (code 0) whenever it has sent nothing for
the idle time, so the PC's supervision sees it alive. The PC configures it with frames of
address 0xFB: 0x61 unit mask byte, 0x60 unit count, 0x62 line option, 0x65 stop and 0x66
start polling; only units in the mask and below the count have their events forwarded.
The RTS/DSR handshake of the line is not simulated: a pseudo-terminal carries no modem lines.

Line (one of; the default is --pty):
  --pty                 open a pseudo-terminal; the ready line names its slave
  --link PATH           with --pty: also make PATH a symlink to the slave (removed at exit)
  --device PATH         serve an existing tty device
  --tcp PORT            serve bare frames on 127.0.0.1:PORT (0 = any free port)

Controller:
  --units LIST          the simulated units, addresses 0..250 as 0-9,12 (default 1)
  --polling             start polling at once, with the units of --units in the mask and the
                        unit count just above the highest (else the PC configures it)
  --idle MS             idle time before an idle frame (default 1000, 0 = never)
  --idle-address ADDR   byte 1 of the idle frame (default 0xFF)
  --interval MS         time between two forwarded events (default 50)
  --mode M              speed mode of a --device or --tcp line (0 default, 1, 2)
  --pace                send every byte at the line's baud rate
  --log FILE            the wire log (default standard error), millisecond time stamps

Control:
  --control PATH        a unix socket for control commands, one per line, each answered by a
                        final line "ok ..." or "error ...":
      units                              list the unit addresses
      event ADDR CODE [BYTE|now]...      store an event frame from unit ADDR with CODE and
                                         its data bytes ("now": the two time bytes of the
                                         present day, hour and minute); answers the queue length
      clear ADDR                         drop the unit's stored events
      state                              "ok polling on|off count N option V mask HEX"
      counts                             "ok received R bad B internal I commands C
                                         broadcasts W acks A events E idle D muted M"
      counts ADDR                        "ok commands C forwarded F queued Q"
      fault KIND [ARG] [times N]         shape what the controller sends; KIND: silent (send
                                         nothing: the PC reports the loss after 8 to 16 s),
                                         error CODE (acks), checksum, cut [N], stray [BYTE],
                                         delay MS
      fault KIND off | fault off
      dump                               state and one line per unit, then ok
)" + unitSimUsageEnd("lcb-sim");
    return text;
}

Parsed<LcbOptions> parseLcbOptions(const std::vector<std::string> &args) {
    LcbOptions o;
    std::string why = parseServeArgs(args, o, [&o](const std::string &a, const NextValue &value) -> std::optional<std::string> {
        auto milliseconds = [&](uint32_t &out) -> std::string {
            const std::string *v = value();
            auto ms = v ? parseDecimal(*v, 600000) : std::nullopt;
            if (!ms) return a + " needs milliseconds 0..600000";
            out = *ms;
            return "";
        };
        if (a == "--polling") {
            o.polling = true;
        } else if (a == "--units") {
            return takeUnitList(value(), o.units);
        } else if (a == "--idle") {
            return milliseconds(o.controller.idleMs);
        } else if (a == "--interval") {
            return milliseconds(o.controller.eventIntervalMs);
        } else if (a == "--idle-address") {
            const std::string *v = value();
            auto address = v ? parseByte(*v) : std::nullopt;
            if (!address) return "--idle-address needs a byte";
            o.controller.idleAddress = *address;
        } else {
            return std::nullopt;
        }
        return "";
    });
    if (!why.empty()) return {std::nullopt, why};
    if (o.units.empty()) o.units.push_back(1);
    return {o, {}};
}

}  // namespace sim
