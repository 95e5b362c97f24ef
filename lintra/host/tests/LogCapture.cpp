#include "LogCapture.h"

std::mutex LogCapture::mutex_;
std::vector<std::string> LogCapture::lines_;

LogCapture::LogCapture() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    lintra::host::setHostLogSink(&LogCapture::sink);
}

LogCapture::~LogCapture() { lintra::host::setHostLogSink(nullptr); }

void LogCapture::sink(int, std::string_view text) {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(text);
}

std::vector<std::string> LogCapture::matching(std::string_view part) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> found;
    for (const auto &line : lines_)
        if (line.find(part) != std::string::npos) found.push_back(line);
    return found;
}
