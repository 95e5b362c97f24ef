#include "sim/m50sim/Options.h"

#include "sim/panel/TextFields.h"

namespace sim {

const char *usageText() {
    return R"(Usage: m50-sim [LINE] [--panel ADDR[:FORMAT]]... [options]
Simulates M50 panels sharing one line, for tests and for rehearsing a write without a panel.

Line (one of; the default is --pty):
  --pty                 open a pseudo-terminal; the ready line names its slave
  --link PATH           with --pty: also make PATH a symlink to the slave (removed at exit)
  --device PATH         serve an existing tty device (set to the speed mode of --mode,
                        ninth bit as space parity, not checked on receive)
  --tcp PORT            serve raw frames on 127.0.0.1:PORT (0 = any free port, named on the
                        ready line), as a panel behind a transparent TCP gateway

Panels:
  --panel ADDR[:FORMAT] a panel of address ADDR (0..255) answering its stored messages in
                        format 0 (11-byte frames, numbers 0..2049, the default) or 1 (13-byte
                        frames, 16-bit numbers); repeatable. Without any, panel 1:0.
  --ring N              messages each panel keeps (default 1024)
  --state FILE          load panels, tables and messages from a state file at start (the
                        format 'dump' prints); panels of the file replace those of --panel

Timing and wire:
  --pace                send every byte at the line's baud rate, after the request's own wire
                        time, so a whole write takes real wire time
  --mode M              speed mode of a --device or --tcp line: 0 (10400 baud, default),
                        1 (19200 8N1), 2 (19200, ninth bit). On --pty the mode is read from
                        the settings the client gave the line.
  --pad N               pad every answer with zero bytes to N bytes (a gateway client that
                        reads 13 bytes per answer needs --pad 13)
  --log FILE            write the wire log to FILE instead of standard error: every frame
                        received (rx) and sent (tx) with millisecond time stamps, stray and
                        incomplete input, line setting changes and control commands

Control:
  --control PATH        listen on a unix socket at PATH for control commands, one per line,
                        each answered by a final line "ok ..." or "error ...":
      panels                                list the panels as ADDR:FORMAT
      event ADDR TYPE [P1 [P2 [COUNT]]]     store COUNT (default 1) messages of event TYPE
                                            with parameters P1, P2; answers the last number
      next ADDR N                           number of the next stored message
      zone ADDR Z [state HH] [block HH] [timer N]   zone loop state and block type (hex)
      counts ADDR                           "ok heard H answered A": frames addressed to
                                            the panel and answers it sent
      fault ADDR KIND [ARG] [times N]       switch a fault on, for the next N answers or
                                            until switched off; KIND is one of
                                              silent          no answer, request lost
                                              error CODE      answer code 3 with error CODE
                                              checksum        answer with a wrong checksum
                                              cut [N]         leave off the last N bytes (1)
                                              stray [BYTE]    send BYTE first (0x55)
                                              delay MS        answer MS milliseconds late
                                              mode M          answer only while the line is
                                                              in speed mode M
                                              drop-write CODE acknowledge the writes of command
                                                              CODE (a table write) without
                                                              storing them; N counts writes
      fault ADDR KIND off | fault ADDR off  switch one or every fault off
      pace on|off                           as --pace
      dump [ADDR]                           print the state (all panels or one), then ok
      save FILE | load FILE                 write or read a state file
      hangup                                close every TCP client (a gateway dropping
                                            its connections; the client may reconnect)
      quit                                  stop the simulator
    Numbers are decimal; ADDR, TYPE, P1, P2, CODE and BYTE also take 0x-prefixed hex.
  --help                show this text

Once serving, m50-sim prints one ready line on standard output: "ready pty SLAVE",
"ready device PATH" or "ready tcp PORT". SIGTERM or SIGINT stops it.
)";
}

namespace {

std::optional<PanelSpec> parsePanel(const std::string &text) {
    size_t colon = text.find(':');
    auto address = parseByte(text.substr(0, colon));
    std::optional<uint32_t> format = 0;
    if (colon != std::string::npos) format = parseDecimal(text.substr(colon + 1), 1);
    if (!address || !format) return std::nullopt;
    return PanelSpec{*address, static_cast<AnswerFormat>(*format)};
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string> &args) {
    Options o;
    std::string why = parseServeArgs(args, o, [&o](const std::string &a, const NextValue &value) -> std::optional<std::string> {
        if (a == "--panel") {
            const std::string *v = value();
            auto wanted = v ? parsePanel(*v) : std::nullopt;
            if (!wanted) return "--panel needs ADDR[:FORMAT], ADDR 0..255, FORMAT 0 or 1";
            for (const PanelSpec &p : o.panels)
                if (p.address == wanted->address) return "panel " + *v + " given twice";
            o.panels.push_back(*wanted);
        } else if (a == "--ring") {
            const std::string *v = value();
            auto ring = v ? parseDecimal(*v, 65535) : std::nullopt;
            if (!ring || *ring == 0) return "--ring needs a count 1..65535";
            o.ring = *ring;
        } else if (a == "--state") {
            const std::string *v = value();
            if (!v) return "--state needs a file";
            o.statePath = *v;
        } else {
            return std::nullopt;
        }
        return "";
    });
    if (!why.empty()) return {std::nullopt, why};
    if (o.panels.empty() && o.statePath.empty()) o.panels.push_back({1, AnswerFormat::Short});
    return {o, {}};
}

}  // namespace sim
