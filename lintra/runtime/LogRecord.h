#pragma once
// The one-line form of a log record: "2026.03.14 09:26:53.589 5  1a2b  text" + CR LF, with
// the date and time local, the level in decimal and the thread id in lower-case hex in five
// columns.
#include <cstdint>
#include <ctime>
#include <string_view>

#include "lintra/runtime/TextBuffer.h"

namespace lintra {

constexpr size_t kRecordBufferSize = 4096;
// Characters of a record before its CR LF.
constexpr size_t kMaxRecordChars = 4093;
using RecordBuffer = TextBuffer<kRecordBufferSize>;

struct LogStamp {
    std::tm local{};
    int millisecond = 0;
    uint32_t threadId = 0;
};

// Local time now and the calling thread's id.
LogStamp TakeLogStamp();

// Replaces out by the record line. Line breaks inside the text become spaces; a text too long
// for the line is cut (at a character boundary) rather than lost.
void FormatRecord(RecordBuffer &out, const LogStamp &stamp, int level, std::string_view text);

}  // namespace lintra
