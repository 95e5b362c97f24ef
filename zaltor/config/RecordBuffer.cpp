#include "zaltor/config/RecordBuffer.h"

namespace zaltor {

RecordBuffer::RecordBuffer() { records_.reserve(kCapacityRecords); }

bool RecordBuffer::append(const CommandRecord &command) { return append(toConfigRecord(command)); }

bool RecordBuffer::append(const ConfigRecord &record) {
    if (records_.size() >= kCapacityRecords) return false;
    records_.push_back(record);
    return true;
}

}  // namespace zaltor
