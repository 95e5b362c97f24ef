#include "sim/ncxsim/NcxOptions.h"

namespace sim {

const char *ncxUsage() {
    return R"(Usage: ncx-sim [LINE] [--password TEXT] [--version-text TEXT] [options]
Simulates an NCX network controller: one ASCII packet per line ("T" kind "L" line code "D"
length data), received lines ended by CR, LF or CR LF, sent ones by CR. On every new connection
(each TCP client; on a pty at start and after a drop or restart) it sends the start notice
T1LFE102D00, and every connection begins a new session. It answers its own packets (line F)
with kind 1:
  T0LFS109D00               reset: a new session and the start notice (T1LFE107D00, password
                            required, while a password is wanted)
  T0LFS10CD10 + 16 chars    the password, zero-filled to 16: T1LFA10CD00 right, T1LFE10CD00
                            wrong
  T0LFG109D00               T1LFA109D + length + the version text, always answered
  T0LFG101D00               T1LFA101D10 + the configuration in force (initially 16 times 9)
  T0LFS101D10 + 16 digits   set the configuration, one hex type digit per slot (9 empty):
                            T1LFA101D00; G101 and S101 answer T1LFE107D00 while a password
                            is wanted
  T0LFS10AD02 + 2 digits    poll pace: T1LFA10AD00
  T0LFG108D00               serial handshake question: T1LFA108D00
Any other code, or a code with the wrong data length, is answered T1LFE + its three digits +
D00. Lines that are not packets, and packets for a line 0..E that has no line model (the
simulator has none yet), are counted and logged, not answered.

Line (one of; the default is --pty):
  --pty                 open a pseudo-terminal; the ready line names its slave
  --link PATH           with --pty: also make PATH a symlink to the slave (removed at exit)
  --device PATH         serve an existing tty device
  --tcp PORT            serve 127.0.0.1:PORT (0 = any free port, named on the ready line)

Controller:
  --password TEXT       the controller's password, 1..16 characters (default: none)
  --version-text TEXT   the firmware version text, 1..255 characters (default NCX-SIM 1.0)
  --mode M              line settings of a --device or --tcp line: 1 (19200 8N1, default),
                        0 (10400) or 2 (19200, ninth bit); they time the bytes of --pace
  --pace                send every byte at the line's baud rate
  --log FILE            the wire log (default standard error), millisecond time stamps

Control:
  --control PATH        a unix socket for control commands, one per line, each answered by
                        one line "ok ..." or "error ...":
      status                   "ok connections=C bytes=B packets=P malformed=M unrouted=U
                               authorised=yes|no config=CCCCCCCCCCCCCCCC pace=N silent=on|off
                               refuse-password=on|off": connections opened (the pty counts at
                               start and after each drop), bytes, packet lines and other lines
                               received, packets for empty slots, then the session (password
                               given, configuration, pace) and the faults
      drop                     TCP: close the client (the simulator keeps listening); pty:
                               restart, dropping the input not yet read
      silent on|off            send nothing at all; received lines are read and counted only
      refuse-password on|off   answer every password T1LFE10CD00
      malformed                send the line T1LFXZZZD00
      endless N                send N letters (1..1000000) without a terminator, then fall
                               silent (silent on)
      burst N                  send N version answers T1LFA109D0BNCX-SIM 1.0 (1..1000000)
                               back to back, as fast as the client reads them; "ok N"
      restart                  restart: a new session and the start notice on every stream
      pace on|off              as --pace
      hangup                   close every TCP client
      quit                     stop the simulator
  --help                show this text

Once serving, ncx-sim prints one ready line on standard output: "ready pty SLAVE",
"ready device PATH" or "ready tcp PORT". SIGTERM or SIGINT stops it.
)";
}

namespace {

// A text option's value: from 1 to `max` characters, none of them a line terminator.
std::string takeText(const std::string &option, const std::string *value, size_t max, std::string &out) {
    if (!value || value->empty() || value->size() > max || value->find_first_of("\r\n") != std::string::npos)
        return option + " needs 1.." + std::to_string(max) + " characters without a line break";
    out = *value;
    return "";
}

}  // namespace

Parsed<NcxOptions> parseNcxOptions(const std::vector<std::string> &args) {
    NcxOptions o;
    o.mode = 1;  // the controller's serial line: 19200 8N1
    std::string why =
        parseServeArgs(args, o, [&o](const std::string &a, const NextValue &value) -> std::optional<std::string> {
            if (a == "--password") return takeText(a, value(), 16, o.controller.password);
            if (a == "--version-text") return takeText(a, value(), 255, o.controller.versionText);
            return std::nullopt;
        });
    if (!why.empty()) return {std::nullopt, why};
    if (o.pad > 0) return {std::nullopt, "--pad would put zero bytes between the packet lines"};
    return {o, {}};
}

}  // namespace sim
