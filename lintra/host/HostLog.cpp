#include "lintra/host/HostLog.h"

#include <atomic>

namespace lintra::host {

namespace {
std::atomic<HostLogSink> sink{nullptr};
}

void setHostLogSink(HostLogSink newSink) { sink.store(newSink, std::memory_order_release); }

void hostLog(int level, std::string_view text) {
    if (HostLogSink current = sink.load(std::memory_order_acquire)) current(level, text);
}

}  // namespace lintra::host
