/* liblintra.so: the alarm-panel communication library. A C interface: every export is
 * extern "C", strings are zero-terminated 8-bit strings, and anything that carries an address
 * or a window handle is intptr_t. */
#ifndef LINTRA_H
#define LINTRA_H

#include <stdbool.h>
#include <stdint.h>

#define LINTRA_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Windows, waits and message boxes of a platform that has none of them.
 *
 * A client window is a procedure registered with LintraRegisterWindow; the handle it answers
 * is what the start exports take as Wnd. Events reach it as message 1124 with lparam pointing
 * to the 22-byte event record, called synchronously on the library's thread: the record is valid
 * only during the call, so copy it and hand it to your own thread. */
typedef intptr_t (*LintraWindowProc)(void *context, uint32_t msg, uintptr_t wparam, intptr_t lparam);

/* A non-zero handle, or 0 when proc is null. */
LINTRA_API intptr_t LintraRegisterWindow(LintraWindowProc proc, void *context);
/* After it returns, proc is no longer called (a call in flight on another thread is waited for). */
LINTRA_API void LintraUnregisterWindow(intptr_t wnd);

/* Waits for an event handle the library answered (GetEvent); timeout_ms 0xFFFFFFFF waits
 * without limit. True when the event came; false on time-out or for a handle that is not a
 * live event of the library. The events reset themselves: one wait consumes one signal. */
LINTRA_API bool LintraWaitEvent(intptr_t event, uint32_t timeout_ms);

/* Messages the library would show in a message box; flags carry the Windows MB_ values (0x10 a
 * stop icon, 0x40 an information icon). Without a handler, or after setting NULL, they go to
 * the library's log and to standard error. */
typedef void (*LintraMessageBoxHandler)(const char *text, const char *caption, uint32_t flags);
LINTRA_API void LintraSetMessageBoxHandler(LintraMessageBoxHandler handler);

#ifdef __cplusplus
}
#endif

#endif /* LINTRA_H */
