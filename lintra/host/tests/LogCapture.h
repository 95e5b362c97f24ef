#pragma once
// Collects what the host layer reports while a test runs.
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "lintra/host/HostLog.h"

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    // The captured lines that contain `part`.
    std::vector<std::string> matching(std::string_view part) const;

private:
    static void sink(int level, std::string_view text);
    static std::mutex mutex_;
    static std::vector<std::string> lines_;
};
