#include "sim/panel/ControlCommands.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sim/panel/FaultCommand.h"
#include "sim/panel/StateFile.h"
#include "sim/panel/TextFields.h"

namespace sim {

namespace {

const std::string kOk = "ok\n";
std::string failure(const std::string &why) { return "error " + why + "\n"; }

std::string readFile(const std::string &path, bool &ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Written beside the target and renamed over it, so a reader never sees half a file.
bool writeFile(const std::string &path, const std::string &text) {
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

const char *ControlInterpreter::help() {
    return "panels | event ADDR TYPE [P1 [P2 [COUNT]]] | next ADDR N | "
           "zone ADDR Z [state HH] [block HH] [timer N] | counts ADDR | "
           "fault ADDR KIND [ARG] [times N] | fault ADDR [KIND] off | pace on|off | dump [ADDR] | "
           "save FILE | load FILE | hangup | quit";
}

std::string ControlInterpreter::execute(std::string_view command, uint64_t nowMs) {
    Fields f = splitFields(command);
    if (f.empty()) return failure("empty command");
    const std::string &verb = f[0];
    if (verb == "help") return std::string("ok ") + help() + "\n";
    if (verb == "panels" && f.size() == 1) {
        std::string text = "ok";
        for (const auto &entry : line_.panels())
            text += " " + std::to_string(entry.first) + ":" + std::to_string(unsigned(entry.second.panel.format()));
        return text + "\n";
    }
    if (verb == "event") return event(f, nowMs);
    if (verb == "next") return next(f);
    if (verb == "zone") return zone(f);
    if (verb == "counts") return counts(f);
    if (verb == "fault") return fault(f);
    if (verb == "dump") return dump(f, nowMs);
    if (verb == "save") return save(f, nowMs);
    if (verb == "load") return load(f, nowMs);
    if (auto answer = executeServerCommand(f, hooks_)) return *answer;
    return failure("unknown command '" + verb + "' (help lists them)");
}

LinePanel *ControlInterpreter::panelOf(const std::string &field) {
    auto address = parseByte(field);
    return address ? line_.find(*address) : nullptr;
}

std::string ControlInterpreter::event(const Fields &f, uint64_t nowMs) {
    if (f.size() < 3 || f.size() > 6) return failure("usage: event ADDR TYPE [P1 [P2 [COUNT]]]");
    LinePanel *target = panelOf(f[1]);
    if (!target) return failure("no panel " + f[1]);
    std::optional<uint8_t> type = parseByte(f[2]), p1 = uint8_t{0}, p2 = uint8_t{0};
    if (f.size() > 3) p1 = parseByte(f[3]);
    if (f.size() > 4) p2 = parseByte(f[4]);
    std::optional<uint32_t> count = f.size() > 5 ? parseDecimal(f[5], 100000) : 1;
    if (!type || !p1 || !p2 || !count || *count == 0) return failure("bad event arguments");
    const StoredMessage *last = nullptr;
    for (uint32_t i = 0; i < *count; ++i)
        if (!(last = target->panel.addEvent(*type, *p1, *p2, nowMs)))
            return failure("event type " + f[2] + " does not fit answer format " +
                           std::to_string(unsigned(target->panel.format())));
    return "ok " + std::to_string(last->number) + "\n";
}

std::string ControlInterpreter::next(const Fields &f) {
    if (f.size() != 3) return failure("usage: next ADDR N");
    LinePanel *target = panelOf(f[1]);
    if (!target) return failure("no panel " + f[1]);
    auto number = parseDecimal(f[2], 65535);
    if (!number || !target->panel.messages().setNextNumber(*number))
        return failure("number out of range for the answer format");
    return kOk;
}

std::string ControlInterpreter::zone(const Fields &f) {
    if (f.size() < 3 || f.size() % 2 == 0) return failure("usage: zone ADDR Z [state HH] [block HH] [timer N]");
    LinePanel *target = panelOf(f[1]);
    if (!target) return failure("no panel " + f[1]);
    auto z = parseDecimal(f[2], kZones);
    if (!z || *z == 0) return failure("zone out of range 1..200");
    Zone updated = target->panel.tables().zones[*z - 1];
    for (size_t i = 3; i + 1 < f.size(); i += 2) {
        const std::string &key = f[i];
        auto value = key == "timer" ? parseDecimal(f[i + 1], 255) : parseHex(f[i + 1], 2);
        uint8_t *field = key == "state" ? &updated.state : key == "block" ? &updated.blockType
                       : key == "timer" ? &updated.timer : nullptr;
        if (!field || !value) return failure("bad zone field '" + key + "'");
        *field = static_cast<uint8_t>(*value);
    }
    target->panel.tables().zones[*z - 1] = updated;
    return kOk;
}

std::string ControlInterpreter::counts(const Fields &f) {
    if (f.size() != 2) return failure("usage: counts ADDR");
    LinePanel *target = panelOf(f[1]);
    if (!target) return failure("no panel " + f[1]);
    return "ok heard " + std::to_string(target->heard) + " answered " + std::to_string(target->answered) + "\n";
}

std::string ControlInterpreter::fault(const Fields &f) {
    if (f.size() < 3) return failure("usage: fault ADDR KIND [ARG] [times N] | fault ADDR [KIND] off");
    LinePanel *target = panelOf(f[1]);
    if (!target) return failure("no panel " + f[1]);
    return applyFaultCommand(target->faults, f, 2);
}

std::string ControlInterpreter::dump(const Fields &f, uint64_t nowMs) {
    if (f.size() == 1) return saveState(line_, nowMs) + kOk;
    if (f.size() != 2) return failure("usage: dump [ADDR]");
    LinePanel *target = panelOf(f[1]);
    if (!target) return failure("no panel " + f[1]);
    return savePanel(target->panel, nowMs) + kOk;
}

std::string ControlInterpreter::save(const Fields &f, uint64_t nowMs) {
    if (f.size() != 2) return failure("usage: save FILE");
    if (!writeFile(f[1], saveState(line_, nowMs))) return failure("cannot write " + f[1]);
    return kOk;
}

std::string ControlInterpreter::load(const Fields &f, uint64_t nowMs) {
    if (f.size() != 2) return failure("usage: load FILE");
    bool ok = false;
    std::string text = readFile(f[1], ok);
    if (!ok) return failure("cannot read " + f[1]);
    if (auto why = loadState(text, line_, nowMs)) return failure(f[1] + ": " + *why);
    return kOk;
}

}  // namespace sim
