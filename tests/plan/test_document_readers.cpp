// Documents read into headings, paragraphs, list items and table rows:
// flat OpenDocument text as the engine hands it over, and Markdown.
#include "plan/flat_document.h"
#include "plan/markdown_document.h"
#include "shell/failure.h"

#include <QBuffer>
#include <QTest>

namespace {

// Each block as "kind level [bold] [title]: text", kinds h, p, li, tr.
QStringList shown(const ImportedDocument& document)
{
    static const char* const kinds[] = {"h", "p", "li", "tr"};
    QStringList all;
    for (const DocumentBlock& block : document.blocks)
        all << QString("%1%2%3%4%5: %6")
                   .arg(kinds[int(block.kind)])
                   .arg(block.level)
                   .arg(block.bold ? " bold" : "", block.title ? " title" : "", block.startsTable ? " first" : "",
                        block.text);
    return all;
}

ImportedDocument flat(const QByteArray& body, const QByteArray& styles = {})
{
    QByteArray xml = R"xml(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
)xml"
                     "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                     R"xml(
<office:meta><dc:title>Plan 2027</dc:title></office:meta>
<office:styles>
 <style:style style:name="Title" style:family="paragraph"><style:text-properties fo:font-weight="bold"/></style:style>
 <style:style style:name="Heading_20_2" style:family="paragraph" style:default-outline-level="2"/>
 <style:style style:name="Strong" style:family="text"><style:text-properties fo:font-weight="700"/></style:style>
</office:styles>
<office:automatic-styles>
 <style:style style:name="P1" style:family="paragraph" style:parent-style-name="Title"/>
 <style:style style:name="P2" style:family="paragraph" style:parent-style-name="Strong"/>
 <style:style style:name="P3" style:family="paragraph" style:parent-style-name="P2"><style:text-properties fo:font-weight="normal"/></style:style>
)xml" + styles + R"xml(</office:automatic-styles>
<office:body><office:text>)xml"
                     + body + R"xml(</office:text></office:body></office:document>)xml";
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    return FlatDocument::read(buffer);
}

}  // namespace

class DocumentReadersTest : public QObject {
    Q_OBJECT

private slots:
    void flatTextGivesEveryKindOfBlock()
    {
        const ImportedDocument document = flat(R"xml(
<text:p text:style-name="P1">Fjordlight</text:p>
<text:h text:outline-level="1"><text:number>1.</text:number>Market</text:h>
<text:p text:style-name="Heading_20_2">By style</text:p>
<text:p>A<text:s text:c="3"/>b<text:tab/>c<text:line-break/>d<text:span text:style-name="Strong">e</text:span><office:annotation><text:p>a comment</text:p></office:annotation></text:p>
<text:p><text:span text:style-name="Strong">All bold</text:span> </text:p>
<text:p text:style-name="P2">Bold by its style</text:p>
<text:p text:style-name="P3">Not bold: its own style says</text:p>
<text:list><text:list-item><text:p>one</text:p><text:list><text:list-item><text:p>deep</text:p></text:list-item></text:list></text:list-item></text:list>
<text:list><text:list-item><text:h text:outline-level="2">A numbered heading</text:h></text:list-item></text:list>
<table:table><table:table-row><table:table-cell><text:p>Year</text:p></table:table-cell><table:covered-table-cell/><table:table-cell><text:p>20</text:p><text:p>27</text:p></table:table-cell><table:table-cell/></table:table-row><table:table-row><table:table-cell><text:p>Hires</text:p></table:table-cell></table:table-row></table:table>
<table:table><table:table-row><table:table-cell><text:p>Costs</text:p></table:table-cell></table:table-row></table:table>
<text:p>Cited<text:note><text:note-citation>1</text:note-citation><text:note-body><text:p>The footnote.</text:p></text:note-body></text:note> here<draw:frame><draw:text-box><text:p>In a box</text:p></draw:text-box></draw:frame></text:p>
<text:tracked-changes><text:changed-region><text:deletion><text:p>deleted</text:p></text:deletion></text:changed-region></text:tracked-changes>
)xml");
        QCOMPARE(document.titleProperty, QString("Plan 2027"));
        QCOMPARE(
            shown(document),
            QStringList({"p0 bold title: Fjordlight", "h1: 1.Market", "h2: By style", "p0: A   b\tc de",
                         "p0 bold: All bold ", "p0 bold: Bold by its style", "p0: Not bold: its own style says",
                         "li1: one", "li2: deep", "h2: A numbered heading", "tr0 first: Year\t\t20 27", "tr0: Hires",
                         "tr0 first: Costs", "p0: Cited here", "p0: The footnote.", "p0: In a box"}));
    }

    void flatTextThatIsNoDocumentIsRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("cut short") << QByteArray(
            "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"><office:body>");
        QTest::newRow("another kind of XML") << QByteArray("<html><body><p>x</p></body></html>");
        QTest::newRow("no body") << QByteArray(
            "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"/>");
        QTest::newRow("nothing") << QByteArray();
    }

    void flatTextThatIsNoDocumentIsRefused()
    {
        QFETCH(QByteArray, xml);
        QBuffer buffer(&xml);
        buffer.open(QIODevice::ReadOnly);
        QVERIFY_THROWS_EXCEPTION(Failure, FlatDocument::read(buffer));
    }

    void markdownGivesEveryKindOfBlock()
    {
        const ImportedDocument document = MarkdownDocument::read(R"xml(# Fjordlight plan

## Market *now*
Soft
break and <span>html</span>.

**A bold line**

Half **bold**

- one
  - deep
- two

| Year | 2027 |
|---|---|
| Revenue | 120 \| 130 |

    code line
)xml");
        QCOMPARE(shown(document),
                 QStringList({"p0 title: Fjordlight plan", "h2: Market now", "p0: Soft break and html.",
                              "p0 bold: A bold line", "p0: Half bold", "li1: one", "li2: deep", "li1: two",
                              "tr0 first: Year\t2027", "tr0: Revenue\t120 | 130", "p0: code line "}));
    }

    // Only a lone top-level heading that opens the document is its title.
    void markdownTitleIsALoneFirstTopHeading()
    {
        QCOMPARE(shown(MarkdownDocument::read("# One\n\n# Two\n")), QStringList({"h1: One", "h1: Two"}));
        QCOMPARE(shown(MarkdownDocument::read("Text\n\n# One\n")), QStringList({"p0: Text", "h1: One"}));
    }
};

QTEST_APPLESS_MAIN(DocumentReadersTest)
#include "test_document_readers.moc"
