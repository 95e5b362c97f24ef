#pragma once
// Closing lines. CloseCom may come on a line's own thread: a client's window procedure or
// callback runs there in the middle of a step. That thread cannot wait for its own step to
// end nor join itself, so such a close is handed to the closer thread of the library, which
// runs it once the step has returned; the call itself returns at once.
#include <cstdint>

namespace lintra {

// CloseCom: claims the line (exactly one of concurrent callers closes it), then on the
// caller's thread, or on the closer thread when the caller is a thread of the library, keeps
// the panel's message number, lets the queue drain, frees the line and its events.
void CloseLine(int line);

// Waits until the closes handed to the closer thread are done, so that a start export finds
// their lines, ports and address slots free. Returns at once on a thread of the library, where
// the close may be waiting for the caller's own step.
void SettlePendingCloses();

// Library unload: finishes the pending closes without letting queues drain, then stops the
// threads of every line still open and frees it (its port closes; the open-line count, the
// state file and the stop frame stay as they are: open lines are not closed).
void FreeAllLines();

}  // namespace lintra
