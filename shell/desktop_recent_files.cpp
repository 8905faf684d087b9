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

void writeEntry(QXmlStreamWriter& xml, const QString& href, const QString& mimeType, const QString& added)
{
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
    xml.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
    xml.writeAttribute(QStringLiteral("name"), Product::name);
    xml.writeAttribute(QStringLiteral("exec"), QStringLiteral("'orvendale %f'"));
    xml.writeAttribute(QStringLiteral("modified"), now);
    xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
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
    QString added;  // when the file was first recorded
    bool recorded = false;
    if (before.trimmed().isEmpty()) {
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("xbel"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        xml.writeNamespace(kBookmarkNs, QStringLiteral("bookmark"));
        xml.writeNamespace(kMimeNs, QStringLiteral("mime"));
        writeEntry(xml, href, mimeType, added);
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
                added = list.attributes().value(QLatin1String("added")).toString();
                list.skipCurrentElement();
                continue;
            }
            if (list.isEndElement() && list.name() == QLatin1String("xbel")) {
                writeEntry(xml, href, mimeType, added);
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
