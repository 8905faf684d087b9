#include "plan/plan_logo.h"

#include "shell/failure.h"
#include "shell/file_utils.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace PlanLogo {

namespace {

[[noreturn]] void notALogo(const QString& file, const QString& why)
{
    throw Failure(
        QStringLiteral("\"%1\" cannot be the logo: %2. Choose a PNG, JPEG or SVG picture of the company's logo.")
            .arg(QDir::toNativeSeparators(file), why));
}

// Whether a reference in the drawing stays inside it: a fragment of the
// drawing itself or data written into it.
bool staysInside(QStringView reference)
{
    const QStringView trimmed = reference.trimmed();
    return trimmed.startsWith(QLatin1Char('#')) || trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive);
}

// What in an SVG drawing reaches beyond it (another file, the network, an
// entity), or "" when nothing does: the engine would follow such a
// reference when it draws the deck.
QString outsideReference(const QByteArray& svg)
{
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*['"]?([^'")]*))"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression import(QStringLiteral(R"(@import)"), QRegularExpression::CaseInsensitiveOption);
    const auto reachesOut = [&](const QString& text) {
        if (import.match(text).hasMatch())
            return true;
        for (auto match = url.globalMatch(text); match.hasNext();)
            if (!staysInside(match.next().capturedView(1)))
                return true;
        return false;
    };
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            if (!xml.entityDeclarations().isEmpty() || xml.text().contains(QLatin1String("SYSTEM"))
                || xml.text().contains(QLatin1String("PUBLIC")))
                return QStringLiteral("it declares entities of its own");
            break;
        case QXmlStreamReader::EntityReference: return QStringLiteral("it declares entities of its own");
        case QXmlStreamReader::StartElement:
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == QLatin1String("href") && !staysInside(attribute.value()))
                    return QStringLiteral("it refers to %1").arg(attribute.value().left(80));
                if (reachesOut(attribute.value().toString()))
                    return QStringLiteral("its style refers to other files");
            }
            break;
        case QXmlStreamReader::Characters:
            if (reachesOut(xml.text().toString()))
                return QStringLiteral("its style refers to other files");
            break;
        default: break;
        }
    }
    if (xml.hasError())
        return QStringLiteral("it is not a well-formed drawing (%1)").arg(xml.errorString());
    return QString();
}

// The names a logo's file may end in.
const QStringList kSuffixes = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                               QStringLiteral("svg")};

}  // namespace

QString folder(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/logos");
}

QString copyOf(const QString& kept, const QString& folder)
{
    const QString name = QFileInfo(kept).fileName();
    return name.isEmpty() ? QString() : QDir(folder).filePath(name);
}

QString fileFilter()
{
    return QStringLiteral("Pictures (*.%1)").arg(kSuffixes.join(QStringLiteral(" *.")));
}

bool hasPictureName(const QString& file)
{
    return kSuffixes.contains(QFileInfo(file).suffix().toLower());
}

QString adopt(const QString& file, const QString& folder)
{
    const QFileInfo info(file);
    if (!info.isFile())
        notALogo(file, info.exists() ? QStringLiteral("it is not a file") : QStringLiteral("it does not exist"));
    if (info.size() == 0)
        notALogo(file, QStringLiteral("it is empty"));
    if (info.size() > kMostBytes)
        notALogo(file, QStringLiteral("at %1 MB it is far larger than a logo").arg(info.size() / (1024 * 1024)));
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        notALogo(file, QStringLiteral("it cannot be read (%1)").arg(source.errorString()));
    QByteArray bytes = source.readAll();

    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    const QString suffix = format == "png"    ? QStringLiteral("png")
                           : format == "jpeg" ? QStringLiteral("jpg")
                           : format == "svg"  ? QStringLiteral("svg")
                                              : QString();
    if (suffix.isEmpty())
        notALogo(file, format.isEmpty() ? QStringLiteral("it is not a picture")
                                        : QStringLiteral("it is a %1 picture").arg(QString::fromLatin1(format)));
    // A drawing is read for its size already: what it refers to is checked
    // before.
    if (suffix == QLatin1String("svg"))
        if (const QString reference = outsideReference(bytes); !reference.isEmpty())
            notALogo(file, reference);
    const QSize size = reader.size();
    if (qint64(size.width()) * size.height() > kMostPixels)
        notALogo(file,
                 QStringLiteral("at %1 × %2 pixels it is far larger than a logo").arg(size.width()).arg(size.height()));
    if (reader.read().isNull())
        notALogo(file, QStringLiteral("it cannot be drawn (%1)").arg(reader.errorString()));

    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(24));
    const QString copy = QDir(folder).filePath(name + QLatin1Char('.') + suffix);
    if (!QDir().mkpath(folder))
        throw Failure(
            QStringLiteral("The folder %1 for the logo could not be made.").arg(QDir::toNativeSeparators(folder)));
    if (!QFileInfo::exists(copy))
        Files::writeBytesReplacing(copy, bytes);
    return QFileInfo(copy).fileName();
}

QString description(const QString& companyName)
{
    return companyName.trimmed().isEmpty() ? QStringLiteral("Company logo")
                                           : QStringLiteral("%1 logo").arg(companyName.trimmed());
}

}  // namespace PlanLogo
