#include "sim/panel/StateFile.h"

#include <sstream>
#include <vector>

#include "sim/panel/TextFields.h"

namespace sim {

namespace {

std::string hexBytes(const uint8_t *bytes, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += hex(bytes[i], 2);
    return text;
}

void writeTables(std::ostringstream &out, const PanelTables &t) {
    const PanelTables fresh;
    if (t.lastPolledZone != 0) out << "lastzone " << unsigned(t.lastPolledZone) << "\n";
    for (unsigned s = 0; s < kPollSlots; ++s)
        if (t.slots[s] != fresh.slots[s])
            out << "slot " << s + 1 << " " << hex(t.slots[s].address, 4) << " " << hex(t.slots[s].type, 2) << "\n";
    for (unsigned z = 0; z < kZones; ++z) {
        const Zone &zone = t.zones[z];
        if (zone == Zone{}) continue;
        out << "zone " << z + 1 << " flags " << hex(zone.flags, 2) << " state " << hex(zone.state, 2)
            << " block " << hex(zone.blockType, 2) << " timer " << unsigned(zone.timer) << " arm "
            << unsigned(zone.armDelay) << " trigger " << unsigned(zone.triggerDelay) << "\n";
    }
    for (unsigned u = 0; u < kUsers; ++u)
        if (t.cards[u] != kNoCard) out << "card " << u << " " << hexBytes(t.cards[u].data(), 4) << "\n";
    for (unsigned u = 0; u < kUsers; ++u)
        if (t.passwords[u] != kNoPassword)
            out << "password " << u << " " << hexBytes(t.passwords[u].data(), 4) << "\n";
    for (unsigned s = 0; s < kSections; ++s)
        for (unsigned q = 0; q < kQuarters; ++q)
            if (t.sections[s][q] != QuarterMask{})
                out << "quarter " << s << " " << q << " " << hexBytes(t.sections[s][q].data(), 8) << "\n";
    for (unsigned e = 0; e < kM39Entries; ++e)
        if (t.m39[e] != kNoM39Entry) out << "m39 " << e << " " << hex(t.m39[e], 4) << "\n";
}

// Reads one panel's lines into a panel under construction.
class PanelReader {
public:
    PanelReader(Panel panel, uint64_t nowMs) : panel_(std::move(panel)), nowMs_(nowMs) {}

    // Empty on success, else the reason.
    std::string read(const std::vector<std::string> &f);
    std::string finish();
    Panel &panel() { return panel_; }

private:
    std::string readZone(const std::vector<std::string> &f);
    std::string readMessage(const std::vector<std::string> &f);

    Panel panel_;
    uint64_t nowMs_;
    std::vector<StoredMessage> messages_;
    std::optional<uint32_t> next_;
};

std::string PanelReader::read(const std::vector<std::string> &f) {
    PanelTables &t = panel_.tables();
    const std::string &key = f[0];
    auto count = f.size();
    if (key == "clock" && count == 3) {
        auto time = parseCivil(f[1], f[2]);
        if (!time) return "bad clock";
        panel_.clock().set(*time, nowMs_);
    } else if (key == "lastzone" && count == 2) {
        auto z = parseDecimal(f[1], kZones);
        if (!z) return "bad zone count";
        t.lastPolledZone = static_cast<uint8_t>(*z);
    } else if (key == "slot" && count == 4) {
        auto s = parseDecimal(f[1], kPollSlots);
        auto address = parseHex(f[2], 4), type = parseHex(f[3], 2);
        if (!s || *s == 0 || !address || !type) return "bad slot";
        t.slots[*s - 1] = {static_cast<uint16_t>(*address), static_cast<uint8_t>(*type)};
    } else if (key == "zone") {
        return readZone(f);
    } else if ((key == "card" || key == "password") && count == 3) {
        auto u = parseDecimal(f[1], kUsers - 1);
        auto code = parseHex(f[2], 8);
        if (!u || !code) return "bad key";
        KeyCode &k = (key == "card" ? t.cards : t.passwords)[*u];
        for (int i = 0; i < 4; ++i) k[i] = static_cast<uint8_t>(*code >> (24 - 8 * i));
    } else if (key == "quarter" && count == 4) {
        auto s = parseDecimal(f[1], kSections - 1), q = parseDecimal(f[2], kQuarters - 1);
        if (!s || !q || f[3].size() != 16) return "bad quarter";
        for (int i = 0; i < 8; ++i) {
            auto b = parseHex(f[3].substr(2 * i, 2), 2);
            if (!b) return "bad quarter";
            t.sections[*s][*q][i] = static_cast<uint8_t>(*b);
        }
    } else if (key == "m39" && count == 3) {
        auto e = parseDecimal(f[1], kM39Entries - 1);
        auto address = parseHex(f[2], 4);
        if (!e || !address) return "bad m39 entry";
        t.m39[*e] = static_cast<uint16_t>(*address);
    } else if (key == "message") {
        return readMessage(f);
    } else if (key == "next" && count == 2) {
        next_ = parseDecimal(f[1], numberLimit(panel_.format()) - 1);
        if (!next_) return "bad next number";
    } else {
        return "unknown entry '" + key + "'";
    }
    return {};
}

std::string PanelReader::readZone(const std::vector<std::string> &f) {
    if (f.size() != 14) return "bad zone";
    auto z = parseDecimal(f[1], kZones);
    if (!z || *z == 0) return "bad zone";
    Zone zone;
    struct Field {
        const char *name;
        uint8_t *target;
        bool isHex;
    };
    const Field fields[] = {{"flags", &zone.flags, true},     {"state", &zone.state, true},
                            {"block", &zone.blockType, true}, {"timer", &zone.timer, false},
                            {"arm", &zone.armDelay, false},   {"trigger", &zone.triggerDelay, false}};
    for (size_t i = 0; i < 6; ++i) {
        const std::string &value = f[3 + 2 * i];
        auto v = fields[i].isHex ? parseHex(value, 2) : parseDecimal(value, 255);
        if (f[2 + 2 * i] != fields[i].name || !v) return "bad zone";
        *fields[i].target = static_cast<uint8_t>(*v);
    }
    panel_.tables().zones[*z - 1] = zone;
    return {};
}

std::string PanelReader::readMessage(const std::vector<std::string> &f) {
    if (f.size() != 7) return "bad message";
    auto number = parseDecimal(f[1], 65535), type = parseDecimal(f[2], 255),
         p1 = parseDecimal(f[3], 255), p2 = parseDecimal(f[4], 255);
    auto time = parseCivil(f[5], f[6]);
    if (!number || !type || !p1 || !p2 || !time) return "bad message";
    messages_.push_back({static_cast<uint16_t>(*number), static_cast<uint8_t>(*type),
                         static_cast<uint8_t>(*p1), static_cast<uint8_t>(*p2), *time});
    return {};
}

std::string PanelReader::finish() {
    MessageStore &store = panel_.messages();
    if (!messages_.empty() && !store.assign(messages_))
        return "messages do not fit the panel (format, ring size or numbers)";
    if (next_) store.setNextNumber(*next_);
    return {};
}

}  // namespace

std::string savePanel(const Panel &panel, uint64_t nowMs) {
    std::ostringstream out;
    const MessageStore &store = panel.messages();
    out << "panel " << unsigned(panel.address()) << " format " << unsigned(panel.format()) << " ring "
        << store.capacity() << "\n";
    out << "clock " << formatCivil(panel.clock().at(nowMs)) << "\n";
    writeTables(out, panel.tables());
    for (const StoredMessage &m : store.messages())
        out << "message " << m.number << " " << unsigned(m.type) << " " << unsigned(m.p1) << " "
            << unsigned(m.p2) << " " << formatCivil(m.time) << "\n";
    out << "next " << store.nextNumber() << "\n";
    return out.str();
}

std::string saveState(const PanelLine &line, uint64_t nowMs) {
    std::string text = "# m50-sim state\n";
    for (const auto &entry : line.panels()) text += savePanel(entry.second.panel, nowMs);
    return text;
}

std::optional<std::string> loadState(const std::string &text, PanelLine &line, uint64_t nowMs) {
    std::vector<Panel> loaded;
    std::optional<PanelReader> reader;
    std::istringstream in(text);
    std::string raw;
    unsigned number = 0;
    auto fail = [&number](const std::string &why) { return "line " + std::to_string(number) + ": " + why; };
    auto close = [&]() -> std::string {
        if (!reader) return {};
        std::string why = reader->finish();
        if (why.empty()) loaded.push_back(std::move(reader->panel()));
        reader.reset();
        return why;
    };
    while (std::getline(in, raw)) {
        ++number;
        auto f = splitFields(raw);
        if (f.empty() || f[0][0] == '#') continue;
        if (f[0] == "panel") {
            if (auto why = close(); !why.empty()) return fail(why);
            if (f.size() != 4 && f.size() != 6) return fail("bad panel line");
            auto address = parseDecimal(f[1], 255), format = parseDecimal(f[3], 1);
            std::optional<uint32_t> ring = MessageStore::kDefaultCapacity;
            if (f.size() == 6) ring = f[4] == "ring" ? parseDecimal(f[5], 65535) : std::nullopt;
            if (!address || f[2] != "format" || !format || !ring || *ring == 0) return fail("bad panel line");
            for (const Panel &p : loaded)
                if (p.address() == *address) return fail("panel " + f[1] + " twice");
            reader.emplace(Panel(static_cast<uint8_t>(*address), static_cast<AnswerFormat>(*format),
                                 localNow(), nowMs, *ring),
                           nowMs);
            continue;
        }
        if (!reader) return fail("entry before the first panel line");
        if (auto why = reader->read(f); !why.empty()) return fail(why);
    }
    if (auto why = close(); !why.empty()) return fail(why);
    for (Panel &p : loaded) line.put(std::move(p));
    return std::nullopt;
}

}  // namespace sim
