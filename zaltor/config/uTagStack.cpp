#include "zaltor/config/uTagStack.h"

#include "platform/Cp1251.h"
#include "zaltor/config/XmlChars.h"

namespace zaltor {

std::string_view trimXml(std::string_view text) {
    while (!text.empty() && xmlchars::isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && xmlchars::isSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool TtagStack::fail(std::string_view message, std::string_view tag) {
    failed_ = true;
    errorText_ = std::string(message) + tessel::cp1251ToUtf8(tag);
    return false;
}

bool TtagStack::push(std::string_view tag) {
    if (tags_.size() >= kMaxDepth) return fail("Превышен лимит вложенности тегов", {});
    tags_.emplace_back(tag);
    return true;
}

bool TtagStack::pop(std::string_view closingTag) {
    if (tags_.empty()) return fail("Попытка закрыть неоткрытый тег ", closingTag);
    std::string expected = tags_.back();
    expected.insert(expected.empty() ? 0 : 1, "/");
    if (expected != closingTag) return fail("Неправильное закрытие тега, ожидается ", expected);
    tags_.pop_back();
    return true;
}

bool TtagStack::process(std::string_view tag) {
    if (tag.size() >= 2 && tag[1] == '/') return pop(tag);
    const bool declaration = tag.starts_with("<?");
    const bool endsWithQuestion = tag.size() >= 2 && tag[tag.size() - 2] == '?';
    if (declaration != endsWithQuestion) return fail("Нестандартный тег: ", tag);
    if (declaration || tag.ends_with("/>")) return true;
    return push(tag);
}

std::string TtagStack::path() const {
    std::string joined;
    for (const std::string &tag : tags_) {
        if (!joined.empty()) joined += ' ';
        joined += trimXml(tag);
    }
    return joined;
}

}  // namespace zaltor
