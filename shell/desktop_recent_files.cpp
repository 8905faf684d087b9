#include "shell/desktop_recent_files.h"

#include "shell/product.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

// What the list said of the file before: when it was first added, and the
// programs that used it, this one's count apart.
struct Earlier {
    QString added;
    QList<QXmlStreamAttributes> otherPrograms;
    int count = 0;
};

// Reads the file's old entry, the reader on its start.
Earlier readEarlier(QXmlStreamReader& list)
{
    Earlier earlier;
    earlier.added = list.attributes().value(QLatin1String("added")).toString();
    for (int depth = 1; depth > 0 && !list.atEnd();) {
        switch (list.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (list.name() == QLatin1String("application")) {
                if (list.attributes().value(QLatin1String("name")) == Product::name)
                    earlier.count = list.attributes().value(QLatin1String("count")).toInt();
                else
                    earlier.otherPrograms << list.attributes();
            }
            break;
        case QXmlStreamReader::EndElement: --depth; break;
        default: break;
        }
    }
    return earlier;
}

void writeEntry(QXmlStreamWriter& xml, const QString& href, const QString& mimeType, const Earlier& earlier)
{
    const QString& added = earlier.added;
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    xml.writeStartElement(QStringLiteral("bookmark"));
    xml.writeAttribute(QStringLiteral("href"), href);
    xml.writeAttribute(QStringLiteral("added"), added.isEmpty() ? now : added);
    xml.writeAttribute(QStringLiteral("modified"), now);
    xml.writeAttribute(QStringLiteral("visited"), now);
    xml.writeStartElement(QStringLiteral("info"));
    xml.writeStartElement(QStringLiteral("metadata"));
    xml.writeAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    xml.writeEmptyElement(kMimeNs, QStringLiteral("mime-type"));
    xml.writeAttribute(QStringLiteral("type"), mimeType);
    xml.writeStartElement(kBookmarkNs, QStringLiteral("applications"));
    // Other programs' records of the file stay as they were.
    for (const QXmlStreamAttributes& program : earlier.otherPrograms) {
        xml.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
        xml.writeAttributes(program);
    }
    xml.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
    xml.writeAttribute(QStringLiteral("name"), Product::name);
    xml.writeAttribute(QStringLiteral("exec"), QStringLiteral("'orvendale %f'"));
    xml.writeAttribute(QStringLiteral("modified"), now);
    xml.writeAttribute(QStringLiteral("count"), QString::number(earlier.count + 1));
    xml.writeEndElement();  // applications
    xml.writeEndElement();  // metadata
    xml.writeEndElement();  // info
    xml.writeEndElement();  // bookmark
}

}  // namespace

QString DesktopRecentFiles::listFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/recently-used.xbel");
}

bool DesktopRecentFiles::add(const QString& listFile, const QString& file, const QString& mimeType)
{
    QByteArray before;
    QFile stored(listFile);
    if (stored.exists()) {
        if (!stored.open(QIODevice::ReadOnly))
            return false;
        before = stored.readAll();
    }
    const QString href = QString::fromUtf8(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded());

    QByteArray after;
    QXmlStreamWriter xml(&after);
    Earlier earlier;
    bool recorded = false;
    if (before.trimmed().isEmpty()) {
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("xbel"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        xml.writeNamespace(kBookmarkNs, QStringLiteral("bookmark"));
        xml.writeNamespace(kMimeNs, QStringLiteral("mime"));
        writeEntry(xml, href, mimeType, earlier);
        xml.writeEndDocument();
        recorded = true;
    } else {
        // Every token is copied as it stands but this file's old entry; the
        // new one goes last, where the newest entries stand.
        QXmlStreamReader list(before);
        while (!list.atEnd()) {
            list.readNext();
            if (list.isStartElement() && list.name() == QLatin1String("bookmark")
                && list.attributes().value(QLatin1String("href")) == href) {
                earlier = readEarlier(list);
                continue;
            }
            if (list.isEndElement() && list.name() == QLatin1String("xbel")) {
                writeEntry(xml, href, mimeType, earlier);
                recorded = true;
            }
            if (!list.hasError())
                xml.writeCurrentToken(list);
        }
        if (list.hasError() || !recorded)
            return false;
    }

    QDir().mkpath(QFileInfo(listFile).absolutePath());
    QSaveFile out(listFile);
    return out.open(QIODevice::WriteOnly) && out.write(after) == after.size() && out.commit();
}
