#include "sim/units/UnitEvent.h"

#include "sim/panel/TextFields.h"

namespace sim {

std::array<uint8_t, 2> eventTimeBytes(const CivilTime &t) {
    return {static_cast<uint8_t>((t.day / 4) << 5 | t.hour), static_cast<uint8_t>((t.day % 4) << 6 | t.minute)};
}

std::optional<Bytes> parseEventFrame(const std::vector<std::string> &f, size_t at, const CivilTime &now,
                                     std::string &error) {
    if (f.size() < at + 2) {
        error = "usage: event ADDR CODE [BYTE|now]...";
        return std::nullopt;
    }
    auto address = parseByte(f[at]);
    auto code = parseByte(f[at + 1]);
    if (!address || *address > kMaxUnit || !code) {
        error = "bad unit address or event code";
        return std::nullopt;
    }
    Bytes data;
    for (size_t i = at + 2; i < f.size(); ++i) {
        if (f[i] == "now") {
            auto time = eventTimeBytes(now);
            data.insert(data.end(), time.begin(), time.end());
        } else if (auto b = parseByte(f[i])) {
            data.push_back(*b);
        } else {
            error = "bad data byte '" + f[i] + "'";
            return std::nullopt;
        }
    }
    if (data.size() + 4 > kMaxFrame) {
        error = "at most " + std::to_string(kMaxFrame - 4) + " data bytes";
        return std::nullopt;
    }
    return makeFrame(*address, *code, data);
}

std::optional<std::string> executeEventCommand(const std::vector<std::string> &f, const CivilTime &now,
                                               const QueueOf &queueOf) {
    if (f.empty() || (f[0] != "event" && f[0] != "clear")) return std::nullopt;
    if (f[0] == "clear") {
        auto address = f.size() == 2 ? parseByte(f[1]) : std::nullopt;
        std::deque<Bytes> *queue = address ? queueOf(*address) : nullptr;
        if (!queue) return "error usage: clear ADDR (a unit of the line)\n";
        queue->clear();
        return "ok\n";
    }
    std::string error;
    auto frame = parseEventFrame(f, 1, now, error);
    if (!frame) return "error " + error + "\n";
    std::deque<Bytes> *queue = queueOf((*frame)[1]);
    if (!queue) return "error no unit " + f[1] + "\n";
    queue->push_back(std::move(*frame));
    return "ok " + std::to_string(queue->size()) + "\n";
}

std::optional<std::vector<uint8_t>> parseUnitList(const std::string &text) {
    std::vector<uint8_t> units;
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(',', begin);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(begin, end - begin);
        size_t dash = item.find('-');
        auto first = parseDecimal(item.substr(0, dash), kMaxUnit);
        auto last = dash == std::string::npos ? first : parseDecimal(item.substr(dash + 1), kMaxUnit);
        if (!first || !last || *last < *first) return std::nullopt;
        for (uint32_t u = *first; u <= *last; ++u) units.push_back(static_cast<uint8_t>(u));
        begin = end + 1;
    }
    return units;
}

std::string takeUnitList(const std::string *text, std::vector<uint8_t> &units) {
    auto list = text ? parseUnitList(*text) : std::nullopt;
    if (!list) return "--units needs a list of addresses 0..250 such as 0-9,12";
    units.insert(units.end(), list->begin(), list->end());
    return "";
}

std::string unitSimUsageEnd(const std::string &program) {
    return R"(      pace on|off                        as --pace
      hangup                             close every TCP client (it may reconnect)
      quit                               stop the simulator
    Numbers are decimal; ADDR, CODE and BYTE also take 0x-prefixed hex.
  --help                show this text

Once serving, )" + program + R"( prints one ready line on standard output: "ready pty SLAVE",
"ready device PATH" or "ready tcp PORT". SIGTERM or SIGINT stops it.
)";
}

}  // namespace sim
