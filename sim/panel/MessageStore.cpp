#include "sim/panel/MessageStore.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {
uint8_t bcd(int value) { return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10); }
}  // namespace

uint32_t numberLimit(AnswerFormat format) { return format == AnswerFormat::Short ? 2050 : 65536; }

bool typeFits(AnswerFormat format, unsigned type) {
    return type <= (format == AnswerFormat::Short ? 0x0Fu : 0xFFu);
}

Bytes messageFrame(const StoredMessage &m, AnswerFormat format, uint8_t address) {
    const CivilTime &t = m.time;
    uint8_t high = static_cast<uint8_t>(m.number >> 8), low = static_cast<uint8_t>(m.number);
    if (format == AnswerFormat::Short) {
        // Day and hour in the low five bits, the minute split over the top three of each.
        std::array<uint8_t, 7> p{static_cast<uint8_t>(t.day | (t.minute >> 3) << 5),
                                 static_cast<uint8_t>(t.hour | (t.minute & 7) << 5),
                                 static_cast<uint8_t>(t.month << 4 | (m.type & 0x0F)),
                                 m.p1, m.p2, high, low};
        return makeFrame(address, kMessageCode, p);
    }
    std::array<uint8_t, 9> p{bcd(t.month), bcd(t.day), bcd(t.hour), bcd(t.minute), m.type, m.p1, m.p2,
                             high, low};
    return makeFrame(address, kMessageCode, p);
}

MessageStore::MessageStore(AnswerFormat format, size_t capacity, const CivilTime &startupTime)
    : format_(format), capacity_(std::clamp<size_t>(capacity, 1, numberLimit(format) - 1)) {
    add(kStartupEventType, 0, 0, startupTime);
}

const StoredMessage &MessageStore::add(uint8_t type, uint8_t p1, uint8_t p2, const CivilTime &time) {
    // A number names one message: one left from before a renumbering gives way.
    std::erase_if(ring_, [this](const StoredMessage &m) { return m.number == next_; });
    if (ring_.size() == capacity_) ring_.pop_front();
    ring_.push_back({next_, type, p1, p2, time});
    next_ = static_cast<uint16_t>((next_ + 1u) % numberLimit(format_));
    return ring_.back();
}

const StoredMessage *MessageStore::find(uint16_t number) const {
    auto it = std::find_if(ring_.begin(), ring_.end(),
                           [number](const StoredMessage &m) { return m.number == number; });
    return it == ring_.end() ? nullptr : &*it;
}

bool MessageStore::setNextNumber(uint32_t number) {
    if (number >= numberLimit(format_)) return false;
    next_ = static_cast<uint16_t>(number);
    return true;
}

bool MessageStore::assign(const std::vector<StoredMessage> &messages) {
    if (messages.empty() || messages.size() > capacity_) return false;
    for (const StoredMessage &m : messages)
        if (m.number >= numberLimit(format_) || !typeFits(format_, m.type) || !isValid(m.time))
            return false;
    std::vector<uint16_t> numbers;
    for (const StoredMessage &m : messages) numbers.push_back(m.number);
    std::sort(numbers.begin(), numbers.end());
    if (std::adjacent_find(numbers.begin(), numbers.end()) != numbers.end()) return false;
    ring_.assign(messages.begin(), messages.end());
    next_ = static_cast<uint16_t>((ring_.back().number + 1u) % numberLimit(format_));
    return true;
}

}  // namespace sim
