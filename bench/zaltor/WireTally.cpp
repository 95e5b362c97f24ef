#include "bench/zaltor/WireTally.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "sim/panel/LineSettings.h"

namespace bench {
namespace {

double byteSeconds(int mode) {
    const sim::LineSettings s = sim::settingsOfMode(mode);
    const int bits = s.parityEnabled || s.stickParity ? 11 : 10;
    return static_cast<double>(bits) / s.baud;
}

// "-- line 10400 8 mark 2 (mode 0)": the mode, or -1 for "(no speed mode)".
int modeOfNote(const std::string &line) {
    const auto at = line.rfind("(mode ");
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + 6));
}

}  // namespace

WireTally tallyWireLog(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read the wire log " + path);
    WireTally tally;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string stamp, kind;
        words >> stamp >> kind;
        if (kind == "--") {
            if (line.find(" -- line ") != std::string::npos) tally.lastMode = modeOfNote(line);
            continue;
        }
        const bool request = kind == "rx";
        if (!request && kind != "tx") continue;
        if (tally.lastMode < 0) throw std::runtime_error("a frame before any speed mode: " + line);
        // The bytes run up to the bracketed detail, if any.
        uint64_t bytes = 0;
        for (std::string word; words >> word && word.front() != '[';) ++bytes;
        tally.wireSeconds += static_cast<double>(bytes) * byteSeconds(tally.lastMode);
        (request ? tally.requests : tally.answers) += 1;
        (request ? tally.requestBytes : tally.answerBytes) += bytes;
    }
    return tally;
}

}  // namespace bench
