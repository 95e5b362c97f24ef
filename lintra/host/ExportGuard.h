#pragma once
// The guard every export of liblintra.so runs its body in. Nothing may cross the C ABI as an
// exception (a thread that could not start, memory that could not be had, a failure deep in a
// line): it would terminate the client. A failure becomes the export's error result and a line
// in the general log.
#include <exception>
#include <string>
#include <type_traits>

#include "lintra/host/HostLog.h"

namespace lintra::host {

// "<export>:: exception: <what>" at error level; a log that fails too is given up on.
inline void NoteExportFailure(const char *exportName, const char *what) noexcept {
    try {
        hostLog(kLogError, std::string(exportName) + ":: exception: " + what);
    } catch (...) {
    }
}

// The body's result, or failure when it threw.
template <typename Result, typename Body>
Result Guarded(const char *exportName, Result failure, Body &&body) noexcept {
    try {
        return body();
    } catch (const std::exception &e) {
        NoteExportFailure(exportName, e.what());
    } catch (...) {
        NoteExportFailure(exportName, "unknown");
    }
    return failure;
}

// For exports without a result.
template <typename Body>
void Guarded(const char *exportName, Body &&body) noexcept {
    static_assert(std::is_void_v<decltype(body())>);
    Guarded(exportName, 0, [&] {
        body();
        return 0;
    });
}

}  // namespace lintra::host
