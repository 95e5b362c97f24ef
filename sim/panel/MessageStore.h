#pragma once
// The panel's ring of numbered stored messages and their answer frames. Format 0 answers are
// 11 bytes with numbers 0..2049, format 1 answers 13 bytes with 16-bit numbers; numbers wrap
// to 0 after the last one. The oldest message is dropped when the ring is full, and the ring
// is never empty: a fresh panel holds its start-up event.
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/panel/CivilTime.h"
#include "sim/panel/Frame.h"

namespace sim {

enum class AnswerFormat : uint8_t { Short = 0, Long = 1 };

constexpr uint8_t kMessageCode = 0x57;
constexpr uint8_t kStartupEventType = 1;  // "line restored"

struct StoredMessage {
    uint16_t number = 0;
    uint8_t type = 0, p1 = 0, p2 = 0;
    CivilTime time;
    bool operator==(const StoredMessage &) const = default;
};

// Numbers run 0 .. numberLimit - 1.
uint32_t numberLimit(AnswerFormat format);
// Event types an answer of the format can carry (format 0 keeps the type in one nibble).
bool typeFits(AnswerFormat format, unsigned type);
Bytes messageFrame(const StoredMessage &message, AnswerFormat format, uint8_t address);

class MessageStore {
public:
    static constexpr size_t kDefaultCapacity = 1024;

    MessageStore(AnswerFormat format, size_t capacity, const CivilTime &startupTime);

    AnswerFormat format() const { return format_; }
    size_t capacity() const { return capacity_; }
    // Stores a message under the next number; the type must fit the format.
    const StoredMessage &add(uint8_t type, uint8_t p1, uint8_t p2, const CivilTime &time);
    const StoredMessage &newest() const { return ring_.back(); }
    const StoredMessage *find(uint16_t number) const;
    uint16_t nextNumber() const { return next_; }
    // False when the number is beyond the format's range.
    bool setNextNumber(uint32_t number);
    const std::deque<StoredMessage> &messages() const { return ring_; }
    // Replaces the ring (as loaded from a state file); false when empty, too many, a number
    // repeats, or a number or type does not fit the format.
    bool assign(const std::vector<StoredMessage> &messages);

private:
    AnswerFormat format_;
    size_t capacity_;
    std::deque<StoredMessage> ring_;
    uint16_t next_ = 0;
};

}  // namespace sim
