#include "plan/flat_document.h"

#include "shell/failure.h"

#include <QHash>
#include <QXmlStreamReader>

#include <optional>
#include <utility>

namespace FlatDocument {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString kDc = QStringLiteral("http://purl.org/dc/elements/1.1/");

// What a style says, or leaves to the style it is based on.
struct Style {
    QString parent;
    std::optional<bool> bold;
    int outlineLevel = 0;
};

class Reader {
public:
    explicit Reader(QIODevice& device) : mXml(&device) {}

    ImportedDocument read()
    {
        bool sawBody = false;
        if (mXml.readNextStartElement()) {
            if (mXml.namespaceUri() != kOffice)
                throw Failure(QStringLiteral("The document is not an OpenDocument text."));
            readOffice(sawBody);
        }
        if (mXml.hasError())
            throw Failure(QStringLiteral("The document's text could not be read: %1 (line %2).")
                              .arg(mXml.errorString())
                              .arg(mXml.lineNumber()));
        if (!sawBody)
            throw Failure(QStringLiteral("The document holds no text."));
        return mDocument;
    }

private:
    // The document element's children: meta, styles, body.
    void readOffice(bool& sawBody)
    {
        while (mXml.readNextStartElement()) {
            const auto name = mXml.name();
            if (name == QLatin1String("meta"))
                readMeta();
            else if (name == QLatin1String("styles") || name == QLatin1String("automatic-styles"))
                readStyles();
            else if (name == QLatin1String("body")) {
                sawBody = true;
                readContent(0);
            } else
                mXml.skipCurrentElement();
        }
    }

    void readMeta()
    {
        while (mXml.readNextStartElement()) {
            if (mXml.namespaceUri() == kDc && mXml.name() == QLatin1String("title"))
                mDocument.titleProperty = mXml.readElementText(QXmlStreamReader::IncludeChildElements);
            else
                mXml.skipCurrentElement();
        }
    }

    void readStyles()
    {
        while (mXml.readNextStartElement()) {
            if (mXml.namespaceUri() != kStyle || mXml.name() != QLatin1String("style")) {
                mXml.skipCurrentElement();
                continue;
            }
            const QXmlStreamAttributes attributes = mXml.attributes();
            Style style;
            style.parent = attributes.value(kStyle, QStringLiteral("parent-style-name")).toString();
            style.outlineLevel = attributes.value(kStyle, QStringLiteral("default-outline-level")).toInt();
            const QString name = attributes.value(kStyle, QStringLiteral("name")).toString();
            while (mXml.readNextStartElement()) {
                if (mXml.name() == QLatin1String("text-properties")) {
                    const auto weight = mXml.attributes().value(kFo, QStringLiteral("font-weight"));
                    if (!weight.isEmpty())
                        style.bold = weight == QLatin1String("bold") || weight.toInt() >= 600;
                }
                mXml.skipCurrentElement();
            }
            mStyles.insert(name, style);
        }
    }

    // The first answer the style, or a style it is based on, gives, from
    // the style itself up; nothing when none of them answers.
    template <typename Answer>
    auto firstAnswer(const QString& styleName, Answer answer) const -> decltype(answer(QString(), Style()))
    {
        QString name = styleName;
        for (int depth = 0; depth < 20 && !name.isEmpty(); ++depth) {
            if (auto given = answer(name, mStyles.value(name)))
                return given;
            name = mStyles.value(name).parent;
        }
        return {};
    }

    // Whether the style, or the first style it is based on that says, sets
    // text in bold.
    bool isBold(const QString& styleName) const
    {
        return firstAnswer(styleName, [](const QString&, const Style& style) { return style.bold; }).value_or(false);
    }

    int outlineLevel(const QString& styleName) const
    {
        return firstAnswer(styleName,
                           [](const QString&, const Style& style) {
                               return style.outlineLevel > 0 ? std::optional(style.outlineLevel) : std::nullopt;
                           })
            .value_or(0);
    }

    bool isTitleStyle(const QString& styleName) const
    {
        return firstAnswer(styleName,
                           [](const QString& name, const Style&) {
                               return name == QLatin1String("Title") ? std::optional(true) : std::nullopt;
                           })
            .value_or(false);
    }

    // The blocks read from inside the current element, taken out of the
    // document's: a text box's, a footnote's or a table cell's paragraphs.
    QList<DocumentBlock> blocksWithin()
    {
        const qsizetype before = mDocument.blocks.size();
        readContent(0);
        const QList<DocumentBlock> within = mDocument.blocks.mid(before);
        mDocument.blocks.resize(before);
        return within;
    }

    // The blocks inside the current element, at the list depth given.
    void readContent(int listDepth)
    {
        while (mXml.readNextStartElement()) {
            const auto name = mXml.name();
            const bool text = mXml.namespaceUri() == kText;
            if (text && (name == QLatin1String("p") || name == QLatin1String("h")))
                readParagraph(listDepth);
            else if (text && name == QLatin1String("list"))
                readContent(listDepth + 1);
            else if (mXml.namespaceUri() == kTable && name == QLatin1String("table-row"))
                readTableRow();
            else if (mXml.namespaceUri() == kTable && name == QLatin1String("table")) {
                mTableStarts = true;
                readContent(listDepth);
            } else if (text && (name == QLatin1String("tracked-changes") || name == QLatin1String("sequence-decls")))
                mXml.skipCurrentElement();
            else
                readContent(listDepth);
        }
    }

    void readParagraph(int listDepth)
    {
        const QXmlStreamAttributes attributes = mXml.attributes();
        const QString styleName = attributes.value(kText, QStringLiteral("style-name")).toString();
        DocumentBlock block;
        int level = 0;
        if (mXml.name() == QLatin1String("h"))
            level = attributes.hasAttribute(kText, QStringLiteral("outline-level"))
                        ? attributes.value(kText, QStringLiteral("outline-level")).toInt()
                        : std::max(1, outlineLevel(styleName));
        else
            level = outlineLevel(styleName);
        if (level > 0) {
            block.kind = DocumentBlock::Kind::Heading;
            block.level = level;
        } else if (listDepth > 0) {
            block.kind = DocumentBlock::Kind::ListItem;
            block.level = listDepth;
        }
        block.title = isTitleStyle(styleName);
        const bool paragraphBold = isBold(styleName);
        Runs runs;
        readRuns(paragraphBold, runs);
        block.text = runs.text;
        block.bold = runs.anyText && runs.allBold;
        mDocument.blocks << block;
        // Footnotes and text boxes, after the paragraph they sit in.
        mDocument.blocks << runs.inside;
    }

    struct Runs {
        QString text;
        bool anyText = false;
        bool allBold = true;
        QList<DocumentBlock> inside;
    };

    void addText(Runs& runs, const QString& text, bool bold)
    {
        runs.text += text;
        if (!text.trimmed().isEmpty()) {
            runs.anyText = true;
            runs.allBold = runs.allBold && bold;
        }
    }

    // The text of a paragraph's runs, spans and links, with its spaces,
    // tabs and breaks.
    void readRuns(bool bold, Runs& runs)
    {
        while (!mXml.atEnd()) {
            mXml.readNext();
            if (mXml.isEndElement())
                return;
            if (mXml.isCharacters()) {
                addText(runs, mXml.text().toString(), bold);
                continue;
            }
            if (!mXml.isStartElement())
                continue;
            const auto name = mXml.name();
            if (mXml.namespaceUri() == kOffice && name == QLatin1String("annotation")) {
                // A reviewer's comment, not the document's text.
                mXml.skipCurrentElement();
                continue;
            }
            if (mXml.namespaceUri() != kText) {
                // A text box's, or a drawing's, paragraphs.
                runs.inside << blocksWithin();
                continue;
            }
            if (name == QLatin1String("s")) {
                const int count = mXml.attributes().value(kText, QStringLiteral("c")).toInt();
                addText(runs, QString(std::max(1, count), QLatin1Char(' ')), bold);
                mXml.skipCurrentElement();
            } else if (name == QLatin1String("tab")) {
                addText(runs, QStringLiteral("\t"), bold);
                mXml.skipCurrentElement();
            } else if (name == QLatin1String("line-break")) {
                addText(runs, QStringLiteral(" "), bold);
                mXml.skipCurrentElement();
            } else if (name == QLatin1String("note")) {
                readNote(runs);
            } else if (name == QLatin1String("span")) {
                readRuns(isBold(mXml.attributes().value(kText, QStringLiteral("style-name")).toString()) || bold, runs);
            } else if (name == QLatin1String("bookmark") || name == QLatin1String("bookmark-start")
                       || name == QLatin1String("bookmark-end") || name == QLatin1String("soft-page-break")
                       || name == QLatin1String("reference-mark") || name == QLatin1String("change-start")
                       || name == QLatin1String("change-end") || name == QLatin1String("change")) {
                mXml.skipCurrentElement();
            } else {
                readRuns(bold, runs);
            }
        }
    }

    // A footnote: its citation stays out of the text, its body becomes
    // paragraphs after the one that cites it.
    void readNote(Runs& runs)
    {
        while (mXml.readNextStartElement()) {
            if (mXml.name() == QLatin1String("note-body"))
                runs.inside << blocksWithin();
            else
                mXml.skipCurrentElement();
        }
    }

    // A table's row: its cells' paragraphs joined by spaces, the cells by
    // tabs; a merged-away cell is an empty one.
    void readTableRow()
    {
        QStringList cells;
        while (mXml.readNextStartElement()) {
            if (mXml.name() == QLatin1String("table-cell") || mXml.name() == QLatin1String("covered-table-cell")) {
                QStringList paragraphs;
                for (const DocumentBlock& block : blocksWithin())
                    paragraphs << block.text.simplified();
                paragraphs.removeAll(QString());
                cells << paragraphs.join(QLatin1Char(' ')).replace(QLatin1Char('\t'), QLatin1Char(' '));
            } else
                mXml.skipCurrentElement();
        }
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        if (cells.isEmpty())
            return;
        DocumentBlock row{DocumentBlock::Kind::TableRow, cells.join(QLatin1Char('\t'))};
        row.startsTable = std::exchange(mTableStarts, false);
        mDocument.blocks << row;
    }

    QXmlStreamReader mXml;
    QHash<QString, Style> mStyles;
    // Whether the next row read is a table's first.
    bool mTableStarts = false;
    ImportedDocument mDocument;
};

}  // namespace

ImportedDocument read(QIODevice& xml)
{
    return Reader(xml).read();
}

}  // namespace FlatDocument
