#pragma once
// The driver table behind the New* event exports: up to 255 message sources (index 1..255),
// each with an event of its own and up to 255 x 16 line objects, the one of Line 1..255 and
// Sub 0..15 at (Line - 1) * 16 + Sub. A line object holds one record slot under a lock, a data
// event and a ready event. Nothing in the library installs a source yet, so the exports find
// every source missing; the table checks every index before it is used.
#include <array>
#include <memory>
#include <mutex>
#include <string>

#include "lintra/ports/EventRecord.h"
#include "lintra/runtime/IPC.h"

namespace lintra {

class TSourceLine {
public:
    virtual ~TSourceLine() = default;
    // A line command in the key=value text form (the connection report of NewLineConn).
    virtual void LineCommand(const std::string &text) = 0;

    std::mutex slotLock;
    EventRecord slot{};
    TIPCEvent dataEvent;
    TIPCEvent readyEvent;
};

class TMessageSource {
public:
    static constexpr int kSubLines = 16;

    // nullptr unless line is 1..255, sub 0..15 and the object is present.
    std::shared_ptr<TSourceLine> Line(int line, int sub) const;
    void SetLine(int line, int sub, std::shared_ptr<TSourceLine> object);

    TIPCEvent event;

private:
    mutable std::mutex mutex_;
    std::array<std::shared_ptr<TSourceLine>, 255 * kSubLines> lines_;
};

class MessageSources {
public:
    static MessageSources &instance();

    // nullptr unless driver is 1..255 and a source is installed there.
    std::shared_ptr<TMessageSource> Find(int driver) const;
    // False for a driver outside 1..255; nullptr removes the source.
    bool Install(int driver, std::shared_ptr<TMessageSource> source);

private:
    mutable std::mutex mutex_;
    std::array<std::shared_ptr<TMessageSource>, 256> sources_;
};

// The connection report NewLineConn passes to a line object: "linenumber=" + sub as one hex
// digit, then for lines 2 and 3 "event_code=" + S203/S204 (S303/S304) each closed by
// character 8, then "parameter1=" + cycleCount as two hex digits; CR LF pairs become
// character 8.
std::string LineConnText(int line, bool connected, int sub, int cycleCount);

}  // namespace lintra
