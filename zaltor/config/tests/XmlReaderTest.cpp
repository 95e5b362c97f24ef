#include "platform/Cp1251.h"
#include "zaltor/config/uXML.h"

#include <gtest/gtest.h>

namespace zaltor {
namespace {

// Reads a whole document into one line: each tag with its attributes, and after " ! " the
// error that stopped the reading or the one the close noted. Open failures start with "open".
std::string trace(const std::string &document) {
    Txml xml;
    if (!xml.openBytes(document)) return "open ! " + xml.errorText();
    std::string out;
    while (xml.readTag()) {
        if (!out.empty()) out += ' ';
        out += tessel::cp1251ToUtf8(xml.tagText());
        while (xml.readAttribute()) out += "[" + tessel::cp1251ToUtf8(xml.attrName()) + "=" + tessel::cp1251ToUtf8(xml.attrValue()) + "]";
    }
    if (!xml.failed()) xml.close();
    if (xml.failed()) out += " ! " + xml.errorText();
    return out;
}

std::string nested(int depth) {
    std::string doc;
    for (int i = 0; i < depth; ++i) doc += "<t>";
    return doc;
}

std::string withAttributes(int count) {
    std::string doc = "<a";
    for (int i = 0; i < count; ++i) doc += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return doc + "/>";
}

struct Case {
    std::string document;
    std::string expected;
    friend void PrintTo(const Case &c, std::ostream *out) { *out << tessel::cp1251ToUtf8(c.document); }
};

class XmlReaderCases : public ::testing::TestWithParam<Case> {};

TEST_P(XmlReaderCases, Reads) { EXPECT_EQ(trace(GetParam().document), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    WellFormed, XmlReaderCases,
    ::testing::Values(
        Case{"<Main></Main>", "<Main> </Main>"},
        Case{" \r\n\t <Main></Main>\r\n", "<Main> </Main>"},
        Case{"<a x='1' y=\"2\"z='3'></a>", "<a>[x=1][y=2][z=3] </a>"},
        Case{"<a\tx = \"1\"/>", "<a/>[x=1]"},
        Case{"<?xml version=\"1.0\"?><Main/>", "<?xml?>[version=1.0] <Main/>"},
        Case{"<Main><a/><b x='1'/></Main>", "<Main> <a/> <b/>[x=1] </Main>"},
        Case{"<a v=\"&lt;&amp;&quot;&gt;&apos;\">&amp;</a>", "<a>[v=<&\">'] </a>"},
        Case{"<a v=\"it&apos;s\" w='say &quot;hi&quot;'></a>", "<a>[v=it's][w=say \"hi\"] </a>"},
        Case{"<a x='1' x='2'></a>", "<a>[x=1][x=2] </a>"},
        Case{"<!-- note --><a><!-- x --></a>", "<a> </a>"},
        Case{"<\xC0\xC1 \xC2='\xC3'></\xC0\xC1>", "<АБ>[В=Г] </АБ>"},
        Case{"", ""}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Malformed, XmlReaderCases,
    ::testing::Values(
        Case{"<a><b></a>", "<a> <b> ! Неправильное закрытие тега, ожидается </b>"},
        Case{"</a>", " ! Попытка закрыть неоткрытый тег </a>"},
        Case{"<a></a><b>", "<a> </a> <b> ! Не закрыты теги: <b>"},
        Case{"<Main><a>", "<Main> <a> ! Не закрыты теги: <Main> <a>"},
        Case{"<?xml version=\"1.0\">", " ! Нестандартный тег: <?xml>"},
        Case{"<a?>", " ! Нестандартный тег: <a?>"},
        Case{"<a x=1/>", " ! Значение атрибута x тега <a должно быть заключено в одинарные или двойные кавычки."},
        Case{"<a x=\"it's\"/>", " ! Неожиданный символ в тексте атрибута x"},
        Case{"<a x=\"1<2\"/>", " ! Неожиданный символ в тексте атрибута x"},
        // A comment ends at its first '>', so the rest of it is text.
        Case{"<Main><!-- a > b --></Main>", " ! Неожиданный символ >"},
        Case{"<Main>&#65;</Main>", " ! Неожиданный &-символ &#65;"},
        Case{"<Main>&ampersand-and-more;</Main>", " ! Неожиданный &-символ &ampersand-and-m"},
        Case{"<Main>&amp</Main>", " ! Не завершен &-символ"},
        Case{"<Main>it's</Main>", " ! Неожиданный символ '"},
        Case{"<Main><!-- open", " ! Не закрыт комментарий."},
        Case{"<1a/>", " ! Неожиданный первый символ имени тега 1"},
        Case{"<a,b/>", " ! Неожиданный символ в имени тега: <a"},
        Case{"<a/b>", " ! Ожидается > после <a/"},
        Case{"<a x='1'/ >", " ! Ожидается > после <a/"},
        // Nothing but an attribute may follow the blanks after a value.
        Case{"<a x='1' />", " ! Неожиданный первый символ имени атрибута /"},
        Case{"<a></a x='1'>", "<a> ! Не должно быть атрибутов у закрывающего тега </a"},
        Case{"<a 1='1'/>", " ! Неожиданный первый символ имени атрибута 1"},
        Case{"<a b,='1'/>", " ! Неожиданный символ в имени атрибута b,"},
        Case{"<a x '1'/>", " ! Ожидается = в атрибуте x тега <a"},
        // The document cut at every stage of a tag.
        Case{"<", " ! Неожиданный конец файла"},
        Case{"<Ma", " ! Неожиданный конец файла"},
        Case{"<a ", " ! Ожидаются атрибуты тега <a"},
        Case{"<a x", " ! Незавершенный атрибут x тега <a"},
        Case{"<a x ", " ! Незавершенный атрибут x тега <a"},
        Case{"<a x=", " ! Не указано значение атрибута x тега <a"},
        Case{"<a x='1", " ! Ожидается ' в качестве завершающей кавычки атрибута тега <a"},
        Case{"<a x='1'", " ! Не закрыт тег <a"},
        Case{"<a x='1' ", " ! Не закрыт тег <a"},
        Case{"<a x='1'/", " ! Ожидается > после <a/"}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST(XmlReader, NestingLimitIsOneHundredTags) {
    std::string hundred = nested(100);
    for (size_t i = 3; i < hundred.size(); i += 4) hundred.insert(i, " ");
    EXPECT_EQ(trace(nested(100)), hundred + " ! Не закрыты теги: " + hundred);
    EXPECT_EQ(trace(nested(101)), hundred + " ! Превышен лимит вложенности тегов");
}

TEST(XmlReader, AttributeLimitIsOneHundred) {
    EXPECT_EQ(trace(withAttributes(100)).find(" ! "), std::string::npos);
    EXPECT_EQ(trace(withAttributes(101)), " ! Превышен лимит на количество атрибутов тега.");
}

TEST(XmlReader, OpenRefusesTextBeforeTheFirstTag) {
    EXPECT_EQ(trace("x<Main></Main>"), "open ! Обнаружены непробельные символы до первого тега.");
    EXPECT_EQ(trace("&lt;<Main></Main>"), "open ! Обнаружены непробельные символы до первого тега.");
    EXPECT_EQ(trace(">"), "open ! Ошибка чтения символов до первого тега.");
    EXPECT_EQ(trace("<!-- never closed"), "open ! Ошибка чтения символов до первого тега.");
    Txml xml;
    EXPECT_FALSE(xml.open("/nonexistent/Zaltor.xml"));
    EXPECT_EQ(xml.errorText(), "Ошибка открытия файла /nonexistent/Zaltor.xml");
}

TEST(XmlReader, TextBetweenTagsIsKeptResolved) {
    Txml xml;
    ASSERT_TRUE(xml.openBytes("<a>x &lt; y<!-- c --> z</a>"));
    ASSERT_TRUE(xml.readTag());
    EXPECT_EQ(xml.text(), "x < y z");
}

TEST(XmlReader, OrderOfCallsIsEnforced) {
    Txml xml;
    EXPECT_FALSE(xml.readTag());
    EXPECT_EQ(xml.errorText(), "Попытка прочитать тег для не открытого документа.");

    Txml unread;
    ASSERT_TRUE(unread.openBytes("<a x='1'><b/></a>"));
    EXPECT_FALSE(unread.readAttribute());
    EXPECT_EQ(unread.errorText(),
              "Попытка чтения атрибута без предварительного чтения тега. Т.е. сначала надо прочитать тег.");

    Txml pending;
    ASSERT_TRUE(pending.openBytes("<a x='1'><b/></a>"));
    ASSERT_TRUE(pending.readTag());
    EXPECT_FALSE(pending.readTag());
    EXPECT_EQ(pending.errorText(), "Попытка прочитать тег, но не все параметры предыдущего тега были считаны");
    EXPECT_FALSE(pending.readTag());  // a failure stays

    Txml closed;
    closed.close();
    EXPECT_EQ(closed.errorText(), "Попытка закрыть не открытый документ");
}

TEST(XmlReader, PositionCountsTheBytesRead) {
    Txml xml;
    ASSERT_TRUE(xml.openBytes("<a></a x='1'>trailing"));
    ASSERT_TRUE(xml.readTag());
    EXPECT_FALSE(xml.readAttribute());
    EXPECT_FALSE(xml.readTag());
    EXPECT_EQ(xml.position(), 7u);  // up to the space after "</a"
}

}  // namespace
}  // namespace zaltor
