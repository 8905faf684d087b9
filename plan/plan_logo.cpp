#include "plan/plan_logo.h"

#include "shell/failure.h"
#include "shell/file_utils.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
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

// How deep a drawing may be: drawings written into drawings, elements in
// elements, and <use> elements that draw a <use> again.
constexpr int kMostEmbedding = 3;
constexpr int kMostNesting = 64;
constexpr int kMostUseChain = 16;

// The kinds of picture a drawing may hold written into it, besides drawings:
// none of them refers to anything.
const QStringList kRasterTypes = {QStringLiteral("image/png"), QStringLiteral("image/jpeg"),
                                  QStringLiteral("image/gif"), QStringLiteral("image/webp")};

QString drawingProblem(const QByteArray& svg, int embedding);

// What is wrong with a reference in a drawing, or "" when it stays inside
// it: a fragment of the drawing itself, or a picture written into it. A
// drawing written in is checked as the logo is, since the engine would
// follow its references too.
QString referenceProblem(QStringView reference, int embedding)
{
    const QStringView trimmed = reference.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
        return {};
    if (!trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return QStringLiteral("it refers to %1").arg(trimmed.left(80));
    const qsizetype comma = trimmed.indexOf(QLatin1Char(','));
    if (comma < 0)
        return QStringLiteral("it holds a damaged picture");
    const QStringView header = trimmed.mid(5, comma - 5);
    const QString type = header.split(QLatin1Char(';')).first().trimmed().toString().toLower();
    if (kRasterTypes.contains(type))
        return {};
    if (type != QLatin1String("image/svg+xml"))
        return QStringLiteral("it holds a picture of a kind a logo cannot carry (%1)").arg(type.left(40));
    if (embedding >= kMostEmbedding)
        return QStringLiteral("it holds drawings written into drawings too deeply");
    const QByteArray data = trimmed.mid(comma + 1).toUtf8();
    const QString problem = drawingProblem(header.endsWith(QLatin1String(";base64"), Qt::CaseInsensitive)
                                               ? QByteArray::fromBase64(data)
                                               : QByteArray::fromPercentEncoding(data),
                                           embedding + 1);
    return problem.isEmpty() ? QString() : QStringLiteral("a drawing written into it is refused, as %1").arg(problem);
}

// What a style (an attribute's or a <style> element's text) brings in
// from outside, or "".
QString styleProblem(const QString& text, int embedding)
{
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*['"]?([^'")]*))"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression import(QStringLiteral(R"(@import)"), QRegularExpression::CaseInsensitiveOption);
    if (import.match(text).hasMatch())
        return QStringLiteral("its style refers to other files");
    for (auto match = url.globalMatch(text); match.hasNext();) {
        const QString problem = referenceProblem(match.next().capturedView(1), embedding);
        if (problem.startsWith(QLatin1String("it refers to")))
            return QStringLiteral("its style refers to other files");
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// A document type names the standard SVG one, or none at all, and
// declares no entities: the engine reads nothing but the drawing.
bool declaresOnlyTheStandardType(const QXmlStreamReader& xml)
{
    if (!xml.entityDeclarations().isEmpty() || xml.text().contains(QLatin1String("ENTITY")))
        return false;
    const bool external = !xml.dtdPublicId().isEmpty() || !xml.dtdSystemId().isEmpty();
    return !external || xml.dtdPublicId().startsWith(QLatin1String("-//W3C//DTD SVG "));
}

// The shapes an SVG drawing's elements draw once every <use> is followed,
// each element counted as one: a <use> of a group draws the whole group
// again.
class DrawnElements {
public:
    // The elements in the order of the drawing; false once there are more
    // than a logo may have.
    bool add(const QXmlStreamReader& xml)
    {
        if (mElements.size() >= kMostDrawnElements)
            return false;
        const int index = int(mElements.size());
        mElements.append(Element{});
        if (!mOpen.isEmpty())
            mElements[mOpen.last()].children << index;
        mOpen << index;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (const QStringView id = attributes.value(QLatin1String("id")); !id.isEmpty())
            mIds.insert(id.toString(), index);
        if (xml.name() == QLatin1String("use"))
            for (const QXmlStreamAttribute& attribute : attributes)
                if (attribute.name() == QLatin1String("href") && attribute.value().startsWith(QLatin1Char('#')))
                    mElements[index].uses = attribute.value().mid(1).toString();
        return true;
    }
    void close() { mOpen.removeLast(); }
    int depth() const { return int(mOpen.size()); }

    // How many elements the drawing draws, up to one more than a logo may.
    qint64 drawn()
    {
        mDrawn.fill(kUncounted, mElements.size());
        return mElements.isEmpty() ? 0 : drawnBy(0, 0);
    }

private:
    static constexpr qint64 kUncounted = -1;
    static constexpr qint64 kBeingCounted = -2;
    static constexpr qint64 kTooMany = kMostDrawnElements + 1;

    struct Element {
        QList<int> children;
        QString uses;
    };

    // A <use> that leads back to an element being counted, or too many
    // <use> elements in a row, draw without end: too many.
    qint64 drawnBy(int index, int useChain)
    {
        if (mDrawn[index] == kBeingCounted || useChain > kMostUseChain)
            return kTooMany;
        if (mDrawn[index] != kUncounted)
            return mDrawn[index];
        mDrawn[index] = kBeingCounted;
        qint64 total = 1;
        for (const int child : std::as_const(mElements[index].children))
            if ((total += drawnBy(child, useChain)) >= kTooMany)
                break;
        if (const auto used = mIds.constFind(mElements[index].uses); used != mIds.cend() && total < kTooMany)
            total += drawnBy(*used, useChain + 1);
        mDrawn[index] = std::min(total, kTooMany);
        return mDrawn[index];
    }

    QList<Element> mElements;
    QHash<QString, int> mIds;
    QList<int> mOpen;
    QList<qint64> mDrawn;
};

// What is wrong with an SVG drawing as a logo, or "": it reaches beyond
// itself (another file, the network, an entity), which the engine would
// follow when it draws the deck, or it would cost the engine far more than
// a logo does.
QString drawingProblem(const QByteArray& svg, int embedding)
{
    DrawnElements elements;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            if (!declaresOnlyTheStandardType(xml))
                return QStringLiteral("it declares entities of its own");
            break;
        case QXmlStreamReader::EntityReference: return QStringLiteral("it declares entities of its own");
        case QXmlStreamReader::StartElement:
            if (elements.depth() >= kMostNesting)
                return QStringLiteral("its shapes lie more than %1 deep inside each other").arg(kMostNesting);
            if (!elements.add(xml))
                return QStringLiteral("it has more than %1 shapes, far more than a logo").arg(kMostDrawnElements);
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                const QString problem = attribute.name() == QLatin1String("href")
                                            ? referenceProblem(attribute.value(), embedding)
                                            : styleProblem(attribute.value().toString(), embedding);
                if (!problem.isEmpty())
                    return problem;
            }
            break;
        case QXmlStreamReader::EndElement: elements.close(); break;
        case QXmlStreamReader::Characters:
            if (const QString problem = styleProblem(xml.text().toString(), embedding); !problem.isEmpty())
                return problem;
            break;
        default: break;
        }
    }
    if (xml.hasError())
        return QStringLiteral("it is not a well-formed drawing (%1)").arg(xml.errorString());
    if (elements.drawn() > kMostDrawnElements)
        return QStringLiteral("its <use> elements draw more than %1 shapes, far more than a logo")
            .arg(kMostDrawnElements);
    return {};
}

// Every picture within the pixel cap is drawn, at up to 16 bits a channel:
// Qt's own limit on a picture's memory would refuse some.
constexpr int kMostDecodedMegabytes = int((kMostPixels * 8 + (1 << 20) - 1) >> 20);

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
    QByteArray bytes;
    try {
        bytes = Files::readRegularFile(file, kMostBytes, QStringLiteral("a logo"));
    } catch (const Failure& failure) {
        notALogo(file, QFileInfo::exists(file) || QFileInfo(file).isSymLink() ? failure.description()
                                                                              : QStringLiteral("it does not exist"));
    }
    return adoptBytes(bytes, file, folder);
}

QString adoptBytes(QByteArray bytes, const QString& file, const QString& folder)
{
    if (bytes.isEmpty())
        notALogo(file, QStringLiteral("it is empty"));
    if (bytes.size() > kMostBytes)
        notALogo(file, QStringLiteral("at %1 MB it is far larger than a logo").arg(bytes.size() / (1024 * 1024)));

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
    if (suffix == QLatin1String("svg")) {
        if (bytes.size() > kMostDrawingBytes)
            notALogo(
                file,
                QStringLiteral("at %1 KB it is a far larger drawing than a logo").arg((bytes.size() + 1023) / 1024));
        if (const QString problem = drawingProblem(bytes, 0); !problem.isEmpty())
            notALogo(file, problem);
    }
    const QSize size = reader.size();
    if (qint64(size.width()) * size.height() > kMostPixels)
        notALogo(file,
                 QStringLiteral("at %1 × %2 pixels it is far larger than a logo").arg(size.width()).arg(size.height()));
    reader.setAllocationLimit(kMostDecodedMegabytes);
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

QByteArray embeddable(const QString& copy)
{
    QFile file(copy);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kMostEmbeddedBytes + 1);
    if (bytes.size() <= kMostEmbeddedBytes)
        return bytes;
    // Too large to travel with the plan: drawn again smaller, as PNG, until
    // it fits. A logo on a slide is never more than a few hundred pixels.
    QImageReader reader(copy);
    reader.setAllocationLimit(kMostDecodedMegabytes);
    const QSize size = reader.size();
    for (int side = 2048; side >= 64; side /= 2) {
        if (size.width() <= side / 2 && size.height() <= side / 2)
            continue;
        reader.setFileName(copy);
        reader.setScaledSize(size.boundedTo(size.scaled(QSize(side, side), Qt::KeepAspectRatio)));
        QByteArray smaller;
        QBuffer buffer(&smaller);
        if (!reader.read().save(&buffer, "PNG"))
            return {};
        if (smaller.size() <= kMostEmbeddedBytes)
            return smaller;
    }
    return {};
}

QString description(const QString& companyName)
{
    return companyName.trimmed().isEmpty() ? QStringLiteral("Company logo")
                                           : QStringLiteral("%1 logo").arg(companyName.trimmed());
}

}  // namespace PlanLogo
