#pragma once
// Configuration records back to back, with the byte limit of the buffer the loader allocates
// per operation: 1 048 576 bytes, so at most 58 254 whole records.
#include "zaltor/config/ConfigRecord.h"

#include <cstddef>
#include <span>
#include <vector>

namespace zaltor {

class RecordBuffer {
public:
    static constexpr size_t kCapacityBytes = 1048576;
    static constexpr size_t kCapacityRecords = kCapacityBytes / sizeof(ConfigRecord);

    // Allocates the whole capacity at once (std::bad_alloc when memory is short).
    RecordBuffer();

    // Stores the record made from a command record; false, and nothing stored, when it would
    // pass the end of the buffer.
    [[nodiscard]] bool append(const CommandRecord &command);
    [[nodiscard]] bool append(const ConfigRecord &record);

    std::span<const ConfigRecord> records() const { return records_; }
    size_t byteCount() const { return records_.size() * sizeof(ConfigRecord); }
    void clear() { records_.clear(); }

private:
    std::vector<ConfigRecord> records_;
};

}  // namespace zaltor
