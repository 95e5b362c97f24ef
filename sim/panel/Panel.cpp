#include "sim/panel/Panel.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

struct CommandShape {
    uint8_t code;
    uint8_t params;
};

// The commands the panel carries out, with their exact parameter counts.
constexpr std::array<CommandShape, 18> kCommands{{
    {code::kSetClock, 5},      {code::kWriteKey, 6},        {code::kReadKey, 2},
    {code::kArm, 2},           {code::kReadZone, 1},        {code::kWriteZone, 2},
    {code::kWriteQuarter, 10}, {code::kReadQuarter, 2},     {code::kPollNewest, 0},
    {code::kPollNumber, 2},    {code::kReadSlot, 1},        {code::kWriteSlot, 4},
    {code::kReadZoneCount, 0}, {code::kWriteZoneCount, 1},  {code::kWriteM39, 3},
    {code::kWriteDelay, 3},    {code::kReadDelay, 2},       {code::kStopAlarm, 1},
}};

const CommandShape *findCommand(uint8_t c) {
    auto it = std::find_if(kCommands.begin(), kCommands.end(),
                           [c](const CommandShape &s) { return s.code == c; });
    return it == kCommands.end() ? nullptr : &*it;
}

std::optional<int> fromBcd(uint8_t b) {
    if ((b >> 4) > 9 || (b & 0x0F) > 9) return std::nullopt;
    return (b >> 4) * 10 + (b & 0x0F);
}

bool zoneInRange(unsigned z) { return z >= 1 && z <= kZones; }

}  // namespace

bool isTableWrite(uint8_t command) {
    switch (command) {
    case code::kWriteKey:
    case code::kWriteZone:
    case code::kWriteQuarter:
    case code::kWriteSlot:
    case code::kWriteZoneCount:
    case code::kWriteM39:
    case code::kWriteDelay: return true;
    default: return false;
    }
}

Panel::Panel(uint8_t address, AnswerFormat format, const CivilTime &clockStart, uint64_t nowMs,
             size_t ringCapacity)
    : address_(address), clock_(clockStart, nowMs), messages_(format, ringCapacity, clockStart) {}

std::optional<Bytes> Panel::answer(std::span<const uint8_t> request, uint64_t nowMs) {
    if (request.size() < 4) return std::nullopt;  // no room for a command code
    bool broadcast = request[1] == kBroadcastAddress;
    if (!frameIsValid(request)) {
        if (broadcast) return std::nullopt;
        return refuse(error::kChecksum);
    }
    Bytes out = carryOut(request[2], request.subspan(3, request.size() - 4), nowMs);
    if (broadcast) return std::nullopt;
    return out;
}

const StoredMessage *Panel::addEvent(uint8_t type, uint8_t p1, uint8_t p2, uint64_t nowMs) {
    if (!typeFits(format(), type)) return nullptr;
    return &messages_.add(type, p1, p2, clock_.at(nowMs));
}

Bytes Panel::reply(uint8_t answerCode, std::span<const uint8_t> data) const {
    return makeFrame(address_, answerCode, data);
}

Bytes Panel::refuse(uint8_t errorCode) const {
    const uint8_t data[] = {errorCode};
    return reply(code::kError, data);
}

Bytes Panel::carryOut(uint8_t command, std::span<const uint8_t> p, uint64_t nowMs) {
    const CommandShape *shape = findCommand(command);
    if (!shape) return refuse(error::kUnknownCommand);
    if (p.size() != shape->params) return refuse(error::kBadParameter);
    const Bytes empty = reply(code::kEmpty);

    switch (command) {
    case code::kWriteSlot:
        if (p[0] < 1 || p[0] > kPollSlots) break;
        tables_.slots[p[0] - 1] = {static_cast<uint16_t>(p[1] << 8 | p[2]), p[3]};
        return empty;
    case code::kReadSlot: {
        if (p[0] < 1 || p[0] > kPollSlots) break;
        const PollSlot &s = tables_.slots[p[0] - 1];
        const uint8_t data[] = {p[0], static_cast<uint8_t>(s.address >> 8),
                                static_cast<uint8_t>(s.address), s.type};
        return reply(code::kSlotAnswer, data);
    }
    case code::kWriteZoneCount:
        if (p[0] > kZones) break;
        tables_.lastPolledZone = p[0];
        return empty;
    case code::kReadZoneCount: {
        const uint8_t data[] = {tables_.lastPolledZone};
        return reply(code::kZoneCountAnswer, data);
    }
    case code::kWriteZone:
        if (!zoneInRange(p[0])) break;
        tables_.zones[p[0] - 1].flags = p[1];
        return empty;
    case code::kReadZone: {
        if (!zoneInRange(p[0])) break;
        const Zone &z = tables_.zones[p[0] - 1];
        const uint8_t data[] = {p[0], z.flags, z.state, z.blockType, z.timer};
        return reply(code::kZoneAnswer, data);
    }
    case code::kWriteDelay: {
        if (p[0] > 1 || !zoneInRange(p[1])) break;
        Zone &z = tables_.zones[p[1] - 1];
        (p[0] == 0 ? z.armDelay : z.triggerDelay) = p[2];
        return empty;
    }
    case code::kReadDelay: {
        if (p[0] > 1 || !zoneInRange(p[1])) break;
        const Zone &z = tables_.zones[p[1] - 1];
        const uint8_t data[] = {p[0], p[1], p[0] == 0 ? z.armDelay : z.triggerDelay};
        return reply(code::kDelayAnswer, data);
    }
    case code::kWriteKey: {
        if (p[0] > 1) break;
        auto &keys = p[0] == 1 ? tables_.cards : tables_.passwords;
        std::copy(p.begin() + 2, p.begin() + 6, keys[p[1]].begin());
        return empty;
    }
    case code::kReadKey: {
        if (p[0] > 1) break;
        const KeyCode &k = (p[0] == 1 ? tables_.cards : tables_.passwords)[p[1]];
        const uint8_t data[] = {p[0], k[0], k[1], k[2], k[3], p[1]};
        return reply(code::kKeyAnswer, data);
    }
    case code::kWriteQuarter:
        if (p[1] >= kQuarters) break;
        std::copy(p.begin() + 2, p.end(), tables_.sections[p[0]][p[1]].begin());
        return empty;
    case code::kReadQuarter: {
        if (p[1] >= kQuarters) break;
        std::array<uint8_t, 10> data{p[0], p[1]};
        const QuarterMask &mask = tables_.sections[p[0]][p[1]];
        std::copy(mask.begin(), mask.end(), data.begin() + 2);
        return reply(code::kQuarterAnswer, data);
    }
    case code::kWriteM39:
        tables_.m39[p[0]] = static_cast<uint16_t>(p[1] << 8 | p[2]);
        return empty;
    case code::kSetClock: {
        auto month = fromBcd(p[0]), day = fromBcd(p[1]), hour = fromBcd(p[2]), minute = fromBcd(p[3]),
             year = fromBcd(p[4]);
        if (!month || !day || !hour || !minute || !year) break;
        CivilTime t{2000 + *year, *month, *day, *hour, *minute, 0};
        if (!isValid(t)) break;
        clock_.set(t, nowMs);
        addEvent(event::kClockSet, 0, 0, nowMs);
        return empty;
    }
    case code::kArm: {
        if (p[0] > 1 || !zoneInRange(p[1])) break;
        Zone &z = tables_.zones[p[1] - 1];
        z.flags = static_cast<uint8_t>(p[0] ? z.flags | 1 : z.flags & ~1);
        addEvent(p[0] ? event::kArmed : event::kDisarmed, p[1], 0, nowMs);
        return empty;
    }
    case code::kStopAlarm:
        for (Zone &z : tables_.zones)
            if ((z.state & 0x70) == 0x10) z.state &= 0x8F;
        addEvent(event::kAlarmOff, 0, 0, nowMs);
        return empty;
    case code::kPollNewest:
        return messageFrame(messages_.newest(), format(), address_);
    case code::kPollNumber:
        if (const StoredMessage *m = messages_.find(static_cast<uint16_t>(p[0] << 8 | p[1])))
            return messageFrame(*m, format(), address_);
        break;
    }
    return refuse(error::kBadParameter);
}

}  // namespace sim
