#include "testsupport/TempDir.h"
#include "zaltor/config/uWriteXML.h"

#include <gtest/gtest.h>

#include <functional>

namespace zaltor {
namespace {

class XmlWriter : public ::testing::Test {
protected:
    std::string file() const { return (dir / "out.xml").string(); }
    std::string written() const { return dir.read("out.xml"); }
    testsupport::TempDir dir;
    TWriteXML xml;
};

TEST_F(XmlWriter, EmptyMainIsThirteenBytes) {
    ASSERT_TRUE(xml.open(file()));
    xml.beginTag("<Main>");
    xml.endTagStart();
    xml.beginTag("</Main>");
    xml.endTagStart();
    xml.close();
    EXPECT_FALSE(xml.failed()) << xml.errorText();
    EXPECT_EQ(written(), "<Main></Main>");
}

TEST_F(XmlWriter, AttributesGoBeforeTheClosingCharacters) {
    ASSERT_TRUE(xml.open(file()));
    xml.beginTag(" <?xml?> ");
    xml.writeAttribute("version", "1.0");
    xml.endTagStart();
    xml.beginTag("<a>");
    xml.writeAttribute(" v ", "<&\"");
    xml.writeAttribute("w", "it's > \xC0");
    xml.endTagStart();
    xml.beginTag("<b/>");
    xml.writeAttribute("x", "");
    xml.endTagStart();
    xml.writeText("1 < 2");
    xml.beginTag("</a>");
    xml.endTagStart();
    xml.close();
    EXPECT_FALSE(xml.failed()) << xml.errorText();
    EXPECT_EQ(written(),
              "<?xml version=\"1.0\"?><a v=\"&lt;&amp;&quot;\" w=\"it&apos;s &gt; \xC0\"><b x=\"\"/>1 &lt; 2</a>");
}

struct Misuse {
    std::function<void(TWriteXML &)> steps;
    std::string error;
};

TEST_F(XmlWriter, FirstFailureIsKeptAndStopsWriting) {
    const Misuse cases[] = {
        {[](TWriteXML &w) { w.beginTag(" <> "); }, "Попытка записать пустой тег"},
        {[](TWriteXML &w) { w.beginTag("Main"); }, "Тег должен быть заключен в <угловые скобки>"},
        {[](TWriteXML &w) { w.beginTag("<1a>"); }, "Неправильный первый символ имени тега <1a>"},
        {[](TWriteXML &w) { w.beginTag("</>"); }, "Неправильный первый символ имени тега </>"},
        {[](TWriteXML &w) { w.beginTag("<a b>"); }, "Неожиданный символ в имени тега <a b>"},
        {[](TWriteXML &w) { w.beginTag("<a />"); }, "Неожиданный символ в имени тега <a />"},
        {[](TWriteXML &w) { w.beginTag("</a>"); }, "Попытка закрыть неоткрытый тег </a>"},
        {[](TWriteXML &w) { w.beginTag("<?a>"); }, "Нестандартный тег: <?a>"},
        {[](TWriteXML &w) { w.writeAttribute("a", "1"); }, "Тег не был открыт."},
        {[](TWriteXML &w) { w.endTagStart(); }, "Тег не был открыт."},
        {[](TWriteXML &w) { w.beginTag("<a>"); w.beginTag("<b>"); }, "Тег не был закрыт"},
        {[](TWriteXML &w) { w.beginTag("<a>"); w.endTagStart(); w.beginTag("</b>"); },
         "Неправильное закрытие тега, ожидается </a>"},
        {[](TWriteXML &w) { w.beginTag("<a>"); w.close(); }, "Попытка закрыть документ при незакрытом теге."},
    };
    for (const Misuse &c : cases) {
        SCOPED_TRACE(c.error);
        TWriteXML w;
        ASSERT_TRUE(w.open(file()));
        c.steps(w);
        w.beginTag("<z>");  // does nothing once failed
        w.endTagStart();
        w.close();
        EXPECT_TRUE(w.failed());
        EXPECT_EQ(w.errorText(), c.error);
        EXPECT_EQ(written().find("<z"), std::string::npos);
    }
}

TEST_F(XmlWriter, NothingWorksWithoutAnOpenDocument) {
    xml.beginTag("<a>");
    EXPECT_EQ(xml.errorText(), "Документ не был открыт.");
    TWriteXML never;
    never.close();
    EXPECT_EQ(never.errorText(), "Попытка закрыть документ, который не был создан.");
    TWriteXML nowhere;
    EXPECT_FALSE(nowhere.open((dir / "missing" / "out.xml").string()));
    EXPECT_EQ(nowhere.errorText(), "Ошибка создания файла");
}

TEST_F(XmlWriter, WriteErrorAtCloseFails) {
    ASSERT_TRUE(xml.open("/dev/full"));
    xml.beginTag("<Main>");
    xml.endTagStart();
    xml.close();
    EXPECT_TRUE(xml.failed());
}

}  // namespace
}  // namespace zaltor
