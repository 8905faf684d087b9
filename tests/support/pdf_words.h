#pragma once

// The words of a PDF with their boxes, page by page, as pdftotext lays them
// out.
#include <QList>
#include <QProcess>
#include <QRectF>
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
