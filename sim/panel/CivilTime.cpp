#include "sim/panel/CivilTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace sim {

using namespace std::chrono;

int64_t toSeconds(const CivilTime &t) {
    sys_days days = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                   day{static_cast<unsigned>(t.day)}};
    return days.time_since_epoch().count() * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

CivilTime fromSeconds(int64_t seconds) {
    int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    int64_t rest = seconds - days * 86400;
    year_month_day ymd{sys_days{std::chrono::days{days}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(rest / 3600),
            static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
}

bool isValid(const CivilTime &t) {
    if (t.year < 1970 || t.year > 9999 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59 || t.month < 1 || t.month > 12 || t.day < 1)
        return false;
    return year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                          day{static_cast<unsigned>(t.day)}}
        .ok();
}

std::string formatCivil(const CivilTime &t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

std::optional<CivilTime> parseCivil(const std::string &date, const std::string &time) {
    CivilTime t;
    char tail = 0;
    if (std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &t.year, &t.month, &t.day, &tail) != 3)
        return std::nullopt;
    int fields = std::sscanf(time.c_str(), "%2d:%2d:%2d%c", &t.hour, &t.minute, &t.second, &tail);
    if (fields == 2) t.second = 0;
    else if (fields != 3) return std::nullopt;
    if (!isValid(t)) return std::nullopt;
    return t;
}

CivilTime localNow() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void PanelClock::set(const CivilTime &t, uint64_t nowMs) {
    baseSeconds_ = toSeconds(t);
    baseMs_ = nowMs;
}

CivilTime PanelClock::at(uint64_t nowMs) const {
    int64_t elapsed = nowMs >= baseMs_ ? static_cast<int64_t>((nowMs - baseMs_) / 1000) : 0;
    return fromSeconds(baseSeconds_ + elapsed);
}

}  // namespace sim
