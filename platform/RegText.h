#pragma once
// The .reg text form of a hive, line by line: what each line says, with its original text kept
// so that a line that says nothing we understand can be written back exactly as it stood.
// Takes our own files and Windows exports (UTF-16LE with BOM, hive roots in key headers,
// hex(N) values, continuation lines, key and value deletions).
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tessel {

// The hive root named in a key header; None for our own root-less headers.
enum class RegRoot { None, CurrentUser, LocalMachine, Other };

struct RegStatement {
    enum class Kind { Signature, Blank, Key, DeleteKey, SetValue, DeleteValue, Raw };
    Kind kind = Kind::Raw;
    RegRoot root = RegRoot::None;  // Key, DeleteKey
    std::string path;              // Key, DeleteKey: normalized, without the root
    std::string name;              // SetValue, DeleteValue
    RegValue value;                // SetValue
    bool wide = false;             // SetValue: a string that was UTF-16 text in the file
    std::string text;              // the physical line(s) as they stood, joined by '\n'
};

// Whole fields only: a dword has its eight digits, a hex byte its two, a string its closing
// quote, so that a file cut short never yields a wrong number, only a missing one.
std::vector<RegStatement> parseRegText(std::string_view file);

// True when the line(s) of a value end in a backslash that would take the next line along;
// a writer puts a blank line after such a line it keeps as it stood.
bool wantsContinuation(std::string_view text);

// Names and paths with a line feed have no .reg form; every other byte string does.
bool storableName(std::string_view name);

// Our own form of a header and a value line. A string is written as "text" when every byte is
// printable ASCII or >= 0x80 (kept as it is), otherwise as hex:, so any byte string round-trips.
std::string formatKeyLine(std::string_view path);
std::string formatValueLine(std::string_view name, const RegValue &value);

}  // namespace tessel
