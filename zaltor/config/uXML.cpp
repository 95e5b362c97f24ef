#include "zaltor/config/uXML.h"

#include "platform/Cp1251.h"
#include "zaltor/config/XmlChars.h"

#include <fstream>
#include <sstream>

namespace zaltor {
namespace {

using namespace xmlchars;

struct XmlFailure {
    std::string text;
};

[[noreturn]] void fail(std::string text) { throw XmlFailure{std::move(text)}; }

std::string utf(std::string_view bytes) { return tessel::cp1251ToUtf8(bytes); }
std::string utf(int c) { return c < 0 ? std::string() : utf(std::string(1, static_cast<char>(c))); }

// An entity longer than the longest named one ("&quot;") is cut here, so a stray '&' in a big
// file never collects the rest of it.
constexpr size_t kMaxEntity = 16;

}  // namespace

Txml::~Txml() {
    if (open_) close();
}

void Txml::record(std::string text) {
    failed_ = true;
    errorText_ = std::move(text);
}

bool Txml::open(const std::string &fileName) {
    return start(std::make_unique<std::ifstream>(fileName, std::ios::binary), fileName);
}

bool Txml::openBytes(std::string bytes) {
    return start(std::make_unique<std::istringstream>(std::move(bytes)), {});
}

bool Txml::start(std::unique_ptr<std::istream> in, const std::string &name) {
    in_ = std::move(in);
    open_ = true;
    atEnd_ = tagPending_ = attributesPending_ = failed_ = false;
    nextChar_ = -1;
    errorText_.clear();
    position_ = 0;
    stack_ = TtagStack();
    try {
        if (!*in_) fail("Ошибка открытия файла " + name);
        try {
            readText();
        } catch (const XmlFailure &) {
            fail("Ошибка чтения символов до первого тега.");
        }
        if (!trimXml(text_).empty()) fail("Обнаружены непробельные символы до первого тега.");
        return true;
    } catch (XmlFailure &f) {
        record(std::move(f.text));
        in_.reset();
        open_ = false;
        return false;
    }
}

int Txml::readByte() {
    const int c = in_->get();
    if (c == std::char_traits<char>::eof()) {
        if (in_->bad()) fail("Ошибка чтения файла");
        atEnd_ = true;
        return -1;
    }
    ++position_;
    return c;
}

std::string Txml::readEntity() {
    std::string entity = "&";
    while (entity.back() != ';') {
        if (entity.size() >= kMaxEntity) fail("Неожиданный &-символ " + utf(entity));
        const int c = readByte();
        if (c < 0) fail("Не завершен &-символ");
        entity += static_cast<char>(c);
    }
    if (entity == "&amp;") return "&";
    if (entity == "&quot;") return "\"";
    if (entity == "&gt;") return ">";
    if (entity == "&lt;") return "<";
    if (entity == "&apos;") return "'";
    fail("Неожиданный &-символ " + utf(entity));
}

void Txml::skipComment() {
    int c;
    do {
        c = readByte();
        if (c < 0) fail("Не закрыт комментарий.");
    } while (c != '>');
}

void Txml::readText() {
    text_.clear();
    for (;;) {
        const int c = readByte();
        if (c < 0) return;
        if (c == '"' || c == '\'' || c == '>') fail("Неожиданный символ " + utf(c));
        if (c == '&') {
            text_ += readEntity();
        } else if (c == '<') {
            const int next = readByte();
            if (next == '!') {
                skipComment();
                continue;
            }
            tagPending_ = true;
            nextChar_ = next;
            return;
        } else {
            text_ += static_cast<char>(c);
        }
    }
}

bool Txml::readTag() {
    if (atEnd_ && !tagPending_) return false;
    try {
        if (failed_) fail(errorText_);
        if (!open_) fail("Попытка прочитать тег для не открытого документа.");
        if (attributesPending_)
            fail("Попытка прочитать тег, но не все параметры предыдущего тега были считаны");
        cursor_ = 0;
        attributes_.clear();
        tagText_ = "<";
        tagPending_ = false;
        int c = nextChar_;
        if (c == '?' || c == '/') {
            tagText_ += static_cast<char>(c);
            c = readByte();
        }
        readName(c);
        if (!stack_.process(tagText_)) fail(stack_.errorText());
        readText();
        attributesPending_ = true;
        return true;
    } catch (XmlFailure &f) {
        record(std::move(f.text));
        attributesPending_ = false;
        return false;
    }
}

// The tag name from its first byte c, then its attributes, up to and including the final '>'.
void Txml::readName(int c) {
    if (c < 0) fail("Неожиданный конец файла");
    if (!isNameStart(c)) fail("Неожиданный первый символ имени тега " + utf(c));
    tagText_ += static_cast<char>(c);
    for (;;) {
        c = readByte();
        if (c < 0) fail("Неожиданный конец файла");
        if (isNameChar(c)) {
            tagText_ += static_cast<char>(c);
        } else if (c == '>' || isNameEnd(c)) {
            break;
        } else if (c == '/' || c == '?') {
            tagText_ += static_cast<char>(c);
            c = readByte();
            if (c != '>') fail("Ожидается > после " + utf(tagText_));
            break;
        } else {
            fail("Неожиданный символ в имени тега: " + utf(tagText_));
        }
    }
    if (c != '>') readAttributes();
    tagText_ += '>';
}

int Txml::skipSpaces(int c, const std::string &eofMessage) {
    while (c < 0 || isSpace(c)) {
        if (c < 0) fail(eofMessage);
        c = readByte();
    }
    return c;
}

// Attributes after the space that ended the name, up to the end of the tag; a closing '/' or
// '?' is appended to the tag text, the final '>' is not.
void Txml::readAttributes() {
    if (tagText_[1] == '/') fail("Не должно быть атрибутов у закрывающего тега " + utf(tagText_));
    int c = skipSpaces(readByte(), "Ожидаются атрибуты тега " + utf(tagText_));
    for (;;) {
        c = readAttribute(c);
        if (c < 0) fail("Не закрыт тег " + utf(tagText_));
        if (c == '>') return;
        if (c == '/' || c == '?') {
            tagText_ += static_cast<char>(c);
            if (readByte() != '>') fail("Ожидается > после " + utf(tagText_));
            return;
        }
        c = skipSpaces(c, "Не закрыт тег " + utf(tagText_));
    }
}

// One attribute from the first byte c of its name; answers the byte after its closing quote.
int Txml::readAttribute(int c) {
    if (!isNameStart(c)) fail("Неожиданный первый символ имени атрибута " + utf(c));
    std::string name(1, static_cast<char>(c));
    const std::string unfinished = " тега " + utf(tagText_);
    for (;;) {
        c = readByte();
        if (c < 0) fail("Незавершенный атрибут " + utf(name) + unfinished);
        if (isSpace(c) || c == '=') break;
        if (!isNameChar(c)) fail("Неожиданный символ в имени атрибута " + utf(name) + utf(c));
        name += static_cast<char>(c);
    }
    c = skipSpaces(c, "Незавершенный атрибут " + utf(name) + unfinished);
    if (c != '=') fail("Ожидается = в атрибуте " + utf(name) + unfinished);
    c = skipSpaces(readByte(), "Не указано значение атрибута " + utf(name) + unfinished);
    if (c != '"' && c != '\'')
        fail("Значение атрибута " + utf(name) + unfinished +
             " должно быть заключено в одинарные или двойные кавычки.");
    const int quote = c;
    std::string value;
    for (;;) {
        c = readByte();
        if (c < 0)
            fail("Ожидается " + utf(quote) + " в качестве завершающей кавычки атрибута тега " +
                 utf(tagText_));
        if (c == quote) break;
        if (c == '&') {
            value += readEntity();
        } else if (c == '"' || c == '\'' || c == '<' || c == '>') {
            fail("Неожиданный символ в тексте атрибута " + utf(name));
        } else {
            value += static_cast<char>(c);
        }
    }
    if (attributes_.size() >= kMaxAttributes) fail("Превышен лимит на количество атрибутов тега.");
    attributes_.emplace_back(std::move(name), std::move(value));
    return readByte();
}

bool Txml::readAttribute() {
    if (!attributesPending_) {
        record("Попытка чтения атрибута без предварительного чтения тега. Т.е. сначала надо "
               "прочитать тег.");
        return false;
    }
    if (cursor_ >= attributes_.size()) {
        attributesPending_ = false;
        return false;
    }
    attrName_ = attributes_[cursor_].first;
    attrValue_ = attributes_[cursor_].second;
    ++cursor_;
    return true;
}

void Txml::close() {
    if (!open_) {
        record("Попытка закрыть не открытый документ");
    } else if (const std::string path = stack_.path(); !path.empty()) {
        record("Не закрыты теги: " + utf(path));
    }
    in_.reset();
    open_ = false;
}

}  // namespace zaltor
