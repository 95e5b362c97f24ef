#pragma once
// TParamList: the key=value lines that configure a driver or a line. Across the Driver API the
// list travels as one zero-terminated text with its lines separated by CR LF.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lintra::nx {

class TParamList {
public:
    TParamList() = default;
    // CR LF, a lone CR and a lone LF each end a line; text after the last ending is a line too.
    // nullptr and "" give the empty list.
    static TParamList FromText(const char *text);

    // Every line followed by CR LF: FromText(Text()) gives the same lines.
    std::string Text() const;
    // Text() with the value of every Password line masked, for logs.
    std::string LogText() const;
    // The value after the first '=' of the first line whose key matches without regard to
    // case; a line without '=' has no key.
    std::optional<std::string> Value(std::string_view key) const;
    // Value as a decimal int32 (an optional sign, then digits only); missing or unreadable
    // values answer fallback.
    int32_t IntValue(std::string_view key, int32_t fallback) const;

    void Append(std::string line) { lines_.push_back(std::move(line)); }
    // Every key=value line of the override (a line whose '=' is not its first character)
    // replaces the first line with the same key, or is appended when the key is missing.
    void Merge(const TParamList &override);

    const std::vector<std::string> &Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

}  // namespace lintra::nx
