#pragma once
// The loader's process exit status, so that a program starting a batch write can act on the
// outcome.

namespace zaltor::shell {

enum class ExitStatus : int {
    Done = 0,          // the write completed (or help, version, an interactive session ended)
    Failed = 1,        // failed after connecting: a command, an error answer, an abort, a signal
    Usage = 2,         // the command line is wrong, or the panel number is not an integer
    Database = 3,      // the site database cannot be reached
    NotM50Panel = 4,   // the number is not an M50 row of CTAB
    NoConnection = 5,  // no connection to the panel
    Binding = 6,       // the library cannot be bound
};

inline int exitCode(ExitStatus status) { return static_cast<int>(status); }

}  // namespace zaltor::shell
