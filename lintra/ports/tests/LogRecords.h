#pragma once
// Reads a library log back for assertions: "level text" of each record (date, time, level,
// thread id, two blanks, text). Hex dump lines, which begin with a blank, and the start and stop
// banners are left out. Callers unload the log set first so that everything is on disk.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lintra::testing {

inline std::vector<std::string> logRecords(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ' ') continue;
        std::istringstream fields(line);
        std::string date, time, level, thread;
        fields >> date >> time >> level >> thread;
        const auto end = fields.tellg();
        if (!fields || static_cast<size_t>(end) + 2 > line.size()) continue;
        std::string body = line.substr(static_cast<size_t>(end) + 2);
        if (body.rfind("----------", 0) != 0) out.push_back(level + " " + body);
    }
    return out;
}

}  // namespace lintra::testing
