#include "zaltor/config/ConfigRecord.h"

#include <algorithm>
#include <cstring>

namespace zaltor {

ConfigRecord toConfigRecord(const CommandRecord &command) {
    ConfigRecord record;
    record.code = command.code;
    std::memcpy(record.data, command.data, std::min<size_t>(command.dataCount, sizeof command.data));
    return record;
}

}  // namespace zaltor
