#include "lintra/ports/delivery/MessageSources.h"

#include <cstdio>

namespace lintra {

namespace {

bool validLine(int line, int sub) { return line >= 1 && line <= 255 && sub >= 0 && sub < TMessageSource::kSubLines; }
size_t position(int line, int sub) { return static_cast<size_t>((line - 1) * TMessageSource::kSubLines + sub); }

std::string hex(int value, int width) {
    char text[12];
    std::snprintf(text, sizeof text, "%0*X", width, static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::shared_ptr<TSourceLine> TMessageSource::Line(int line, int sub) const {
    if (!validLine(line, sub)) return nullptr;
    std::lock_guard lock(mutex_);
    return lines_[position(line, sub)];
}

void TMessageSource::SetLine(int line, int sub, std::shared_ptr<TSourceLine> object) {
    if (!validLine(line, sub)) return;
    std::lock_guard lock(mutex_);
    lines_[position(line, sub)] = std::move(object);
}

MessageSources &MessageSources::instance() {
    static MessageSources *sources = new MessageSources;
    return *sources;
}

std::shared_ptr<TMessageSource> MessageSources::Find(int driver) const {
    if (driver < 1 || driver > 255) return nullptr;
    std::lock_guard lock(mutex_);
    return sources_[driver];
}

bool MessageSources::Install(int driver, std::shared_ptr<TMessageSource> source) {
    if (driver < 1 || driver > 255) return false;
    std::lock_guard lock(mutex_);
    sources_[driver] = std::move(source);
    return true;
}

std::string LineConnText(int line, bool connected, int sub, int cycleCount) {
    constexpr char kSeparator = 8;
    std::string text = "linenumber=" + hex(sub & 0x0F, 1) + kSeparator + "event_code=";
    if (line == 2 || line == 3) text += "S" + std::to_string(line) + (connected ? "03" : "04") + kSeparator;
    text += "parameter1=" + hex(cycleCount, 2);
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, 1, kSeparator);
    return text;
}

}  // namespace lintra
