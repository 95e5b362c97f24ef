#pragma once
// The stack of open tags the XML reader and writer keep to check nesting. Tags are document
// bytes (Windows Cyrillic) as written, for example "<Main>"; error texts are UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace zaltor {

class TtagStack {
public:
    static constexpr size_t kMaxDepth = 100;

    // False, with failed() and errorText() set, when the tag breaks nesting: a closing tag is
    // popped, a declaration ("<?...?>") and an empty-element tag ("<.../>") are only checked,
    // any other start tag is pushed.
    bool process(std::string_view tag);
    bool push(std::string_view tag);
    bool pop(std::string_view closingTag);

    size_t depth() const { return tags_.size(); }
    // The open tags from the bottom up, trimmed, joined by single spaces.
    std::string path() const;

    bool failed() const { return failed_; }
    const std::string &errorText() const { return errorText_; }

private:
    bool fail(std::string_view message, std::string_view tag);

    std::vector<std::string> tags_;
    bool failed_ = false;
    std::string errorText_;
};

// Blanks and control bytes (everything up to 0x20) removed from both ends.
std::string_view trimXml(std::string_view text);

}  // namespace zaltor
