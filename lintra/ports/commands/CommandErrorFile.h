#pragma once
// "cl.erl" in the current directory: one entry per controller command whose dispatch failed
// with an exception, so that a site engineer can see what a client tried to send.
#include <cstdint>

namespace lintra {

inline constexpr const char *kCommandErrorFile = "cl.erl";

// Appends "Line: ", "Cmd code: ", "Address: ", "ParamCount: " (decimal) and an empty line;
// the file is created when it does not exist. False when it cannot be written.
bool AppendCommandError(int line, int cmd, int address, int count);

}  // namespace lintra
