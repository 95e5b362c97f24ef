#include "zaltor/config/uWriteXML.h"

#include "platform/Cp1251.h"
#include "zaltor/config/XmlChars.h"

#include <unistd.h>

namespace zaltor {

std::string escapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '\'': out += "&apos;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

TWriteXML::~TWriteXML() {
    if (file_) std::fclose(file_);
}

void TWriteXML::fail(std::string text) {
    failed_ = true;
    errorText_ = std::move(text);
}

bool TWriteXML::write(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

// Whether an operation may go on: nothing failed yet, the document is open and, when needTag,
// a start tag is being written.
bool TWriteXML::usable(bool needTag) {
    if (failed_) return false;
    if (!file_) {
        fail("Документ не был открыт.");
        return false;
    }
    if (needTag && !tagOpen_) {
        fail("Тег не был открыт.");
        return false;
    }
    return true;
}

bool TWriteXML::open(const std::string &fileName) {
    failed_ = false;
    errorText_.clear();
    stack_ = TtagStack();
    tagOpen_ = false;
    if (file_) std::fclose(file_);
    file_ = std::fopen(fileName.c_str(), "wb");
    if (!file_) fail("Ошибка создания файла");
    return file_ != nullptr;
}

void TWriteXML::beginTag(std::string_view rawTag) {
    if (!usable(false)) return;
    if (tagOpen_) return fail("Тег не был закрыт");
    const std::string_view tag = trimXml(rawTag);
    const std::string shown = tessel::cp1251ToUtf8(tag);
    if (tag.size() <= 2) return fail("Попытка записать пустой тег");
    if (tag.front() != '<' || tag.back() != '>')
        return fail("Тег должен быть заключен в <угловые скобки>");
    const size_t nameStart = (tag[1] == '/' || tag[1] == '?') ? 2 : 1;
    const size_t nameEnd = (tag.ends_with("/>") || tag.ends_with("?>")) ? tag.size() - 2 : tag.size() - 1;
    if (nameStart >= nameEnd || !xmlchars::isNameStart(tag[nameStart]))
        return fail("Неправильный первый символ имени тега " + shown);
    for (size_t i = nameStart + 1; i < nameEnd; ++i)
        if (!xmlchars::isNameChar(tag[i])) return fail("Неожиданный символ в имени тега " + shown);
    if (!stack_.process(tag)) return fail(stack_.errorText());
    size_t head = tag.size();
    while (head > 0 && std::string_view(" />?").find(tag[head - 1]) != std::string_view::npos) --head;
    pendingTail_ = tag.substr(head);
    if (!write(tag.substr(0, head))) return fail("Ошибка при начале записи тега");
    tagOpen_ = true;
}

void TWriteXML::writeAttribute(std::string_view name, std::string_view value) {
    if (!usable(true)) return;
    const std::string bytes = " " + std::string(trimXml(name)) + "=\"" + escapeXml(value) + "\"";
    if (!write(bytes)) fail("Ошибка при записи параметра тега");
}

void TWriteXML::endTagStart() {
    if (!usable(true)) return;
    if (!write(pendingTail_)) return fail("Ошибка при окончании записи тега");
    tagOpen_ = false;
}

void TWriteXML::writeText(std::string_view text) {
    if (!usable(false)) return;
    if (!write(escapeXml(text))) fail("Ошибка записи символов.");
}

void TWriteXML::close() {
    if (!file_) {
        if (!failed_) fail("Попытка закрыть документ, который не был создан.");
        return;
    }
    if (tagOpen_ && !failed_) fail("Попытка закрыть документ при незакрытом теге.");
    // Buffered bytes reach the disk only here; a save relies on this to know the file is whole.
    const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    tagOpen_ = false;
    if (!(flushed && closed) && !failed_) fail("Ошибка записи в файл");
}

}  // namespace zaltor
