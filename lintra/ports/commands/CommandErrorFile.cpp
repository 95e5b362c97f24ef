#include "lintra/ports/commands/CommandErrorFile.h"

#include <cstdio>
#include <string>

namespace lintra {

bool AppendCommandError(int line, int cmd, int address, int count) {
    // Line ends as in the library's logs.
    const std::string entry = "Line: " + std::to_string(line) + "\r\nCmd code: " + std::to_string(cmd) +
                              "\r\nAddress: " + std::to_string(address) +
                              "\r\nParamCount: " + std::to_string(count) + "\r\n\r\n";
    std::FILE *file = std::fopen(kCommandErrorFile, "ab");
    if (!file) return false;
    const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace lintra
