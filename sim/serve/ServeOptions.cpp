#include "sim/serve/ServeOptions.h"

#include "sim/panel/TextFields.h"

namespace sim {

namespace {

// Takes args[i] (and its value, advancing i) when it is a shared option: nullopt when it is not
// one, otherwise "" or the reason it was refused.
std::optional<std::string> takeServeOption(const std::vector<std::string> &args, size_t &i, ServeOptions &o) {
    const std::string &a = args[i];
    auto value = [&](std::string &out) {
        if (i + 1 >= args.size()) return false;
        out = args[++i];
        return true;
    };
    std::string v;
    auto number = [&](uint32_t max) -> std::optional<uint32_t> {
        return value(v) ? parseDecimal(v, max) : std::nullopt;
    };
    if (a == "--help" || a == "-h") {
        o.help = true;
    } else if (a == "--pty") {
        o.transport = LineOptions::Transport::Pty;
        ++o.transportsGiven;
    } else if (a == "--device") {
        if (!value(o.device)) return "--device needs a path";
        o.transport = LineOptions::Transport::Device;
        ++o.transportsGiven;
    } else if (a == "--tcp") {
        auto port = number(65535);
        if (!port) return "--tcp needs a port 0..65535";
        o.tcpPort = static_cast<uint16_t>(*port);
        o.transport = LineOptions::Transport::Tcp;
        ++o.transportsGiven;
    } else if (a == "--link") {
        if (!value(o.link)) return "--link needs a path";
    } else if (a == "--control") {
        if (!value(o.controlPath)) return "--control needs a socket path";
    } else if (a == "--log") {
        if (!value(o.logPath)) return "--log needs a file";
    } else if (a == "--pace") {
        o.pace = true;
    } else if (a == "--mode") {
        auto mode = number(2);
        if (!mode) return "--mode needs 0, 1 or 2";
        o.mode = static_cast<int>(*mode);
    } else if (a == "--pad") {
        auto pad = number(15);
        if (!pad) return "--pad needs a length 0..15";
        o.pad = *pad;
    } else {
        return std::nullopt;
    }
    return std::string();
}

}  // namespace

std::string parseServeArgs(const std::vector<std::string> &args, ServeOptions &o, const OwnOption &own) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> why = takeServeOption(args, i, o);
        if (!why) {
            NextValue value = [&]() -> const std::string * { return i + 1 < args.size() ? &args[++i] : nullptr; };
            why = own(args[i], value);
            if (!why) return "unknown option '" + args[i] + "' (--help lists them)";
        }
        if (!why->empty()) return *why;
    }
    if (o.transportsGiven > 1) return "give only one of --pty, --device, --tcp";
    if (!o.link.empty() && o.transport != LineOptions::Transport::Pty) return "--link goes with --pty";
    return {};
}

}  // namespace sim
