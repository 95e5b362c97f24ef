#include "zaltor/console/RecordPanes.h"

#include <utility>

#include "zaltor/console/RecordLines.h"

namespace zaltor::console {

PaneAppend RecordPanes::add(PaneLog &pane, std::string line) {
    const bool cleared = pane.append(line);
    return {cleared, std::move(line)};
}

RecordUpdate RecordPanes::onRecord(const EventRecord &record) {
    RecordUpdate update;
    if (!rawPaused_) update.raw = add(raw_, rawLine(record));
    if (!describedPaused_) {
        if (std::optional<std::string> line = describedLine(record))
            update.described = add(described_, std::move(*line));
    }
    return update;
}

PaneAppend RecordPanes::note(std::string_view text) { return add(described_, std::string(text)); }

}  // namespace zaltor::console
