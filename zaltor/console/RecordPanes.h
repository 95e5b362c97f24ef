#pragma once
// The two live panes of a window that watches a panel: the raw pane and the described pane.
// A record becomes a line in each pane that is not paused; a paused pane drops it for good.
#include <optional>
#include <string>
#include <string_view>

#include "zaltor/console/EventRecord.h"
#include "zaltor/console/PaneLog.h"

namespace zaltor::console {

// What the window must show: empty the widget first when cleared, then add the line.
struct PaneAppend {
    bool cleared;
    std::string line;
    bool operator==(const PaneAppend &) const = default;
};

struct RecordUpdate {
    std::optional<PaneAppend> raw;
    std::optional<PaneAppend> described;
};

class RecordPanes {
public:
    explicit RecordPanes(PaneLimit limit) : raw_(limit), described_(limit) {}

    RecordUpdate onRecord(const EventRecord &record);
    // An operator's echo or a connection note in the described pane; shown even while paused.
    PaneAppend note(std::string_view text);

    void setRawPaused(bool paused) { rawPaused_ = paused; }
    void setDescribedPaused(bool paused) { describedPaused_ = paused; }
    PaneLog &raw() { return raw_; }
    PaneLog &described() { return described_; }

private:
    static PaneAppend add(PaneLog &pane, std::string line);

    PaneLog raw_;
    PaneLog described_;
    bool rawPaused_ = false;
    bool describedPaused_ = false;
};

}  // namespace zaltor::console
