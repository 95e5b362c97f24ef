#pragma once
// Pull reader of the configuration file's XML subset: one tag at a time, then its attributes.
// At most 100 nested tags and 100 attributes per tag; the five named entities; a comment ends
// at its first '>'. Tag texts, text and attributes are document bytes (Windows Cyrillic);
// error texts are UTF-8.
#include "zaltor/config/uTagStack.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zaltor {

class Txml {
public:
    static constexpr size_t kMaxAttributes = 100;

    Txml() = default;
    ~Txml();
    Txml(const Txml &) = delete;
    Txml &operator=(const Txml &) = delete;

    // Opens the document and reads up to its first tag; false with errorText() on failure.
    bool open(const std::string &fileName);
    // The same over bytes in memory.
    bool openBytes(std::string bytes);

    // False at the end of the document or on any failure (then failed() is set).
    bool readTag();
    // True and the next attribute of the current tag in attrName()/attrValue(); false when
    // none is left (the tag's attributes are then done) or no tag was read.
    bool readAttribute();
    // Closes the document, noting unclosed tags in errorText().
    void close();

    // The current tag reduced to "<", '/' or '?', the name, '/' or '?', ">".
    const std::string &tagText() const { return tagText_; }
    // What follows the current tag up to the next '<', entities resolved, comments skipped.
    const std::string &text() const { return text_; }
    const std::string &attrName() const { return attrName_; }
    const std::string &attrValue() const { return attrValue_; }

    bool failed() const { return failed_; }
    const std::string &errorText() const { return errorText_; }
    // Bytes of the document consumed so far.
    uint64_t position() const { return position_; }

private:
    bool start(std::unique_ptr<std::istream> in, const std::string &name);
    int readByte();
    void readText();
    std::string readEntity();
    void skipComment();
    void readName(int c);
    void readAttributes();
    int readAttribute(int c);
    int skipSpaces(int c, const std::string &eofMessage);
    void record(std::string text);

    std::unique_ptr<std::istream> in_;
    bool open_ = false;
    bool atEnd_ = false;
    bool tagPending_ = false;  // the last '<' of the text began a tag
    int nextChar_ = -1;        // the byte after that '<', -1 at the end of the file
    bool attributesPending_ = false;
    bool failed_ = false;
    std::string errorText_;
    uint64_t position_ = 0;
    TtagStack stack_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    size_t cursor_ = 0;
    std::string tagText_;
    std::string text_;
    std::string attrName_;
    std::string attrValue_;
};

}  // namespace zaltor
