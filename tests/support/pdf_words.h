#pragma once

// The words of a PDF with their boxes, page by page, as pdftotext lays them
// out.
#include <QFile>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>
#include <QXmlStreamReader>

struct Word {
    QString text;
    QRectF box;  // in points, from the top left of the page
};

struct Page {
    QSizeF size;
    QList<Word> words;
    QString text() const
    {
        QStringList all;
        for (const Word& word : words)
            all << word.text;
        return all.join(' ');
    }
};

inline QList<Page> pagesOf(const QString& pdf)
{
    QProcess text;
    text.start("pdftotext", {"-bbox", pdf, "-"});
    text.waitForFinished(60000);
    QList<Page> pages;
    QXmlStreamReader xml(text.readAllStandardOutput());
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        const auto number = [&](const char* name) { return xml.attributes().value(name).toDouble(); };
        if (xml.name() == QLatin1String("page"))
            pages.append({QSizeF(number("width"), number("height")), {}});
        else if (xml.name() == QLatin1String("word")) {
            const QRectF box(QPointF(number("xMin"), number("yMin")), QPointF(number("xMax"), number("yMax")));
            pages.last().words.append({xml.readElementText(), box});
        }
    }
    return pages;
}

// What a tagged PDF says to a screen reader beyond its words: the language
// of its catalogue and the alternative texts of its figures, in the order
// written. The engine writes its structure elements uncompressed, their
// texts as UTF-16 hex strings or as literal strings.
struct PdfAccessibility {
    QString language;
    QStringList alternativeTexts;
};

inline PdfAccessibility accessibilityOf(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const auto textOf = [](const QRegularExpressionMatch& match) {
        if (match.captured(2).isNull())
            return match.captured(1);
        const QByteArray utf16 = QByteArray::fromHex(match.captured(2).toLatin1());
        QString text;
        for (qsizetype i = 2; i + 1 < utf16.size(); i += 2)
            text += QChar((uchar(utf16[i]) << 8) | uchar(utf16[i + 1]));
        return text;
    };
    const QString latin = QString::fromLatin1(bytes);
    PdfAccessibility said;
    static const QRegularExpression language(R"(/Lang\s*(?:\(([^)]*)\)|<([0-9A-Fa-f]+)>))");
    said.language = textOf(language.match(latin));
    static const QRegularExpression alternative(R"(/Alt\s*(?:\(([^)]*)\)|<([0-9A-Fa-f]+)>))");
    for (auto it = alternative.globalMatch(latin); it.hasNext();)
        said.alternativeTexts << textOf(it.next());
    return said;
}
