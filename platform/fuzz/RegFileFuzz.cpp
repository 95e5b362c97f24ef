// The .reg reader on any bytes: it never crashes; what it writes back reads as the same hive
// and writes back identically, so a rewrite never drifts; and writing one value changes the
// file by that one line only, so no line that could not be parsed is ever lost.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/RegDocument.h"

namespace {

void require(bool ok) {
    if (!ok) std::abort();
}

bool sameValues(const tessel::RegDocument &a, const tessel::RegDocument &b, std::string_view path) {
    auto x = a.values(path), y = b.values(path);
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto &p, const auto &q) {
        return p.first == q.first && p.second.type == q.second.type &&
               p.second.dword == q.second.dword && p.second.bytes == q.second.bytes;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    tessel::RegDocument doc = tessel::RegDocument::parse(text);
    const std::string written = doc.serialize();
    const tessel::RegDocument reread = tessel::RegDocument::parse(written);
    require(reread.serialize() == written);
    for (const auto &path : doc.keyPaths()) require(sameValues(doc, reread, path));

    const auto paths = doc.keyPaths();
    if (paths.empty()) return 0;
    const std::string path = paths[size % paths.size()];
    const std::string name = "\x01";
    for (const auto &v : doc.values(path))
        if (v.first == name) return 0;
    const tessel::RegValue value{tessel::RegValue::Type::Dword, 7, {}};
    require(doc.setValue(path, name, value));
    std::string changed = doc.serialize();
    const std::string line = tessel::formatValueLine(name, value) + "\n";
    bool onlyThatLine = false;  // the input may hold the same text in a line of its own
    for (size_t at = changed.find("\n" + line); !onlyThatLine && at != std::string::npos;
         at = changed.find("\n" + line, at + 1))
        onlyThatLine = changed.substr(0, at + 1) + changed.substr(at + 1 + line.size()) == written;
    require(onlyThatLine);
    auto afterWrite = tessel::RegDocument::parse(changed);
    require(afterWrite.values(path).back().second.dword == 7);
    return 0;
}
