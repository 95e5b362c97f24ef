#pragma once
// The lines of one live pane with its history cap: when the pane has reached its limit it is
// emptied before the next entry goes in, so it then holds only that entry.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zaltor::console {

struct PaneLimit {
    enum class Unit { Characters, Lines };
    Unit unit;
    std::size_t clearAt;  // the pane is emptied before an append once it holds this many
};

// The console's panes hold up to 20000 characters, the setup window's up to 3000 lines.
inline constexpr PaneLimit kConsolePaneLimit{PaneLimit::Unit::Characters, 20000};
inline constexpr PaneLimit kSetupPaneLimit{PaneLimit::Unit::Lines, 3001};

class PaneLog {
public:
    explicit PaneLog(PaneLimit limit) : limit_(limit) {}

    // Adds an entry; an entry holding CR LF becomes several lines, as in the pane itself.
    // Returns true when the pane was emptied first.
    bool append(std::string_view entry);
    void clear();

    const std::vector<std::string> &lines() const { return lines_; }
    // Characters (code points) of the lines plus one per line break between them.
    std::size_t characters() const { return characters_; }

private:
    bool full() const;

    PaneLimit limit_;
    std::vector<std::string> lines_;
    std::size_t characters_ = 0;
};

}  // namespace zaltor::console
