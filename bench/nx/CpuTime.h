#pragma once
// User plus system CPU time in seconds, of the process (RUSAGE_SELF) or the calling thread
// (RUSAGE_THREAD).
#include <sys/resource.h>

namespace bench {

inline double cpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace bench
