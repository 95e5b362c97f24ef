#include "sim/serve/WireLog.h"

#include <sys/time.h>

#include <ctime>

namespace sim {

bool WireLog::open(const std::string &path) {
    if (path.empty()) return true;
    std::FILE *f = std::fopen(path.c_str(), "a");
    if (!f) return false;
    out_ = f;
    return true;
}

WireLog::~WireLog() {
    if (out_ != stderr) std::fclose(out_);
}

void WireLog::bytes(const char *direction, std::span<const uint8_t> data, const std::string &detail) {
    std::string text = direction;
    char hex[4];
    for (uint8_t b : data) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        text += hex;
    }
    if (!detail.empty()) text += " [" + detail + "]";
    line(text);
}

void WireLog::note(const std::string &text) { line("-- " + text); }

void WireLog::line(const std::string &text) {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm tm{};
    localtime_r(&tv.tv_sec, &tm);
    std::fprintf(out_, "%02d:%02d:%02d.%03ld %s\n", tm.tm_hour, tm.tm_min, tm.tm_sec,
                 static_cast<long>(tv.tv_usec / 1000), text.c_str());
    std::fflush(out_);
}

}  // namespace sim
