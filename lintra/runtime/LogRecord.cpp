#include "lintra/runtime/LogRecord.h"

#include <unistd.h>

namespace lintra {

LogStamp TakeLogStamp() {
    LogStamp stamp;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    localtime_r(&now.tv_sec, &stamp.local);
    stamp.millisecond = static_cast<int>(now.tv_nsec / 1000000);
    stamp.threadId = static_cast<uint32_t>(gettid());
    return stamp;
}

namespace {

// Cuts text to at most limit bytes without splitting a UTF-8 sequence.
std::string_view CutAtCharBoundary(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

void FormatRecord(RecordBuffer &out, const LogStamp &stamp, int level, std::string_view text) {
    out.clear();
    const std::tm &t = stamp.local;
    out.appendDecimal(t.tm_year + 1900, 2);
    out.push_back('.');
    out.appendDecimal(t.tm_mon + 1, 2);
    out.push_back('.');
    out.appendDecimal(t.tm_mday, 2);
    out.push_back(' ');
    out.appendDecimal(t.tm_hour, 2);
    out.push_back(':');
    out.appendDecimal(t.tm_min, 2);
    out.push_back(':');
    out.appendDecimal(t.tm_sec, 2);
    out.push_back('.');
    out.appendDecimal(stamp.millisecond, 3);
    out.push_back(' ');
    out.appendDecimal(level);
    out.push_back(' ');
    out.appendHex(stamp.threadId, 5, ' ', false);
    out.append("  ");
    size_t headerEnd = out.size();
    out.append(CutAtCharBoundary(text, kMaxRecordChars - headerEnd));
    char *line = out.data();
    for (size_t i = headerEnd; i < out.size(); ++i) {
        if (line[i] == '\n' || line[i] == '\r') line[i] = ' ';
    }
    out.append("\r\n");
}

}  // namespace lintra
