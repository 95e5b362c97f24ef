#pragma once
// Writer of the configuration file's XML subset. The document is exactly what the operations
// wrote: no declaration, line break or indentation. The first failure sets failed() and
// errorText() (UTF-8); every later operation then does nothing.
#include "zaltor/config/uTagStack.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace zaltor {

class TWriteXML {
public:
    TWriteXML() = default;
    ~TWriteXML();
    TWriteXML(const TWriteXML &) = delete;
    TWriteXML &operator=(const TWriteXML &) = delete;

    // Creates or truncates the file.
    bool open(const std::string &fileName);
    // Checks a tag such as "<Main>", "</Main>" or "<a/>" and writes it up to its closing
    // characters, which endTagStart() writes once the attributes are in.
    void beginTag(std::string_view tag);
    void writeAttribute(std::string_view name, std::string_view value);
    void endTagStart();
    // Writes bytes with the five XML special characters escaped.
    void writeText(std::string_view text);
    // Closes the document; a buffered write that fails here also sets failed().
    void close();

    bool failed() const { return failed_; }
    const std::string &errorText() const { return errorText_; }

private:
    bool usable(bool needTag);
    void fail(std::string text);
    bool write(std::string_view bytes);

    std::FILE *file_ = nullptr;
    TtagStack stack_;
    std::string pendingTail_;
    bool tagOpen_ = false;
    bool failed_ = false;
    std::string errorText_;
};

// The bytes with '"', '&', '\'', '<' and '>' as their named entities.
std::string escapeXml(std::string_view text);

}  // namespace zaltor
