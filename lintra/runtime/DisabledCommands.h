#pragma once
// The commands "discmd.ini" forbids: a flag per line and command code, row 0 applying to
// every line. Sections "LINE<n>" (any case, blanks ignored) hold a "DISABLED" list of codes
// and ranges ("05, 10-1F") separated by any run of spaces, commas or tabs; each code is one or
// two upper-case hex digits.
#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "lintra/runtime/CommonProc.h"

namespace tessel {
class Profile;
}

namespace lintra {

using CommandRow = std::bitset<256>;

// The line number of a section named "LINE" + decimal number in 0..255, else nullopt.
std::optional<int> ParseLineSection(std::string_view name);
// The value of one code: its first two characters read as upper-case hex; a first character
// that is no such digit gives 0, a second one ends the code.
int ParseCommandCode(std::string_view code);
// Sets in row every code the list names; a range whose high end is below its low end sets none.
void ApplyDisabledList(std::string_view list, CommandRow &row);

class DisabledCommands {
public:
    void clear();
    void load(const tessel::Profile &profile);
    // Clears the table, then reads the file; a missing file leaves it clear.
    void loadFile(const std::string &path);
    bool isDisabled(int line, int code) const;
    const CommandRow &row(int line) const { return rows_[line]; }

private:
    std::array<CommandRow, kLineCount> rows_{};
};

}  // namespace lintra
