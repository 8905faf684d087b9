// A logo is a picture the deck can carry whole: anything else is refused
// with its reason, and the plan keeps a copy of its own.
#include "plan/plan_logo.h"
#include "shell/failure.h"
#include "tests/support/file_bytes.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray png(int width = 120, int height = 60)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(10, 10, 40, 40, QColor("#C0392B"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    return bytes;
}

quint32 crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// A PNG that states a size, without its pixels.
QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR");
    chunk += QByteArray(4, 0) + QByteArray(4, 0) + QByteArray("\x08\x06\x00\x00\x00", 5);
    qToBigEndian(width, chunk.data() + 4);
    qToBigEndian(height, chunk.data() + 8);
    QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
    bytes += QByteArray("\x00\x00\x00\x0d", 4) + chunk;
    QByteArray crc(4, 0);
    qToBigEndian(crc32Of(chunk), crc.data());
    bytes += crc;
    for (const QByteArray& empty : {QByteArray("IDAT"), QByteArray("IEND")}) {
        qToBigEndian(crc32Of(empty), crc.data());
        bytes += QByteArray(4, 0) + empty + crc;
    }
    return bytes;
}

const QByteArray kSvgOpening =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
    "width=\"200\" height=\"100\">";

// A drawing of the given inner elements, padded with a comment to the given
// size when one is given.
QByteArray svg(const QByteArray& inside, qint64 size = 0)
{
    QByteArray drawing = kSvgOpening + inside + "</svg>";
    if (size > 0)
        drawing.insert(drawing.size() - 6, "<!--" + QByteArray(size - drawing.size() - 7, ' ') + "-->");
    return drawing;
}

// A drawing of count elements in all: the drawing and its rectangles.
QByteArray svgOfElements(int count, qint64 size = 0)
{
    return svg(QByteArray("<rect width=\"1\" height=\"1\"/>").repeated(count - 1), size);
}

// A picture written into a drawing.
QByteArray written(const QByteArray& type, const QByteArray& bytes)
{
    return "<image href=\"data:" + type + ";base64," + bytes.toBase64() + "\" width=\"4\" height=\"4\"/>";
}

// Bytes that pictures' readers pass over, after the picture's end.
QByteArray paddedTo(QByteArray bytes, qint64 size)
{
    bytes.resize(size, '\0');
    return bytes;
}

}  // namespace

class PlanLogoTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;

    QString path(const QString& name) const { return mFolder->filePath(name); }

private slots:
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void aPictureBecomesThePlansOwnCopy_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("suffix");
        // clang-format off
        QTest::newRow("PNG") << png() << "png";
        QTest::newRow("SVG with its own gradient and a picture written in") << kSvgOpening + "<defs><linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"#124E66\"/></linearGradient></defs>" "<rect width=\"200\" height=\"100\" style=\"fill:url(#g)\"/>" "<image xlink:href=\"data:image/png;base64," + png(4, 4).toBase64() + "\" width=\"4\" height=\"4\"/></svg>" << "svg";
        QTest::newRow("SVG with the standard document type") << "<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" " "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n" + svg("<rect width=\"9\" height=\"9\"/>") << "svg";
        QTest::newRow("SVG with a drawing written in") << svg(written("image/svg+xml", svgOfElements(3))) << "svg";
        QTest::newRow("PNG at the byte cap") << paddedTo(png(), PlanLogo::kMostBytes) << "png";
        QTest::newRow("SVG of as many shapes and bytes as a drawing may have") << svgOfElements(PlanLogo::kMostDrawnElements, PlanLogo::kMostDrawingBytes) << "svg";
        QTest::newRow("SVG whose <use> elements draw as many shapes as it may") << svg("<g id=\"g\">" + QByteArray("<rect width=\"1\" height=\"1\"/>").repeated(98) + "</g>" + QByteArray("<use href=\"#g\"/>").repeated(49)) << "svg";
        // clang-format on
    }

    void aPictureBecomesThePlansOwnCopy()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, suffix);
        writeFile(path("chosen"), content);
        const QString kept = PlanLogo::adopt(path("chosen"), path("logos"));
        const QString copy = PlanLogo::copyOf(kept, path("logos"));
        QCOMPARE(QFileInfo(copy).dir().path(), path("logos"));
        QCOMPARE(QFileInfo(copy).suffix(), suffix);
        QCOMPARE(readFile(copy), content);
        // The original may go; the same picture again is the same copy.
        QFile::remove(path("chosen"));
        writeFile(path("again"), content);
        QCOMPARE(PlanLogo::adopt(path("again"), path("logos")), kept);
        QCOMPARE(QDir(path("logos")).entryList(QDir::Files).size(), 1);
    }

    // What a plan keeps names a copy in the folder, whatever a plan file
    // from elsewhere says.
    void theKeptNameStaysInsideTheFolder()
    {
        QCOMPARE(PlanLogo::copyOf("3f2a.png", "/data/logos"), QString("/data/logos/3f2a.png"));
        QCOMPARE(PlanLogo::copyOf("/home/someone/private.png", "/data/logos"), QString("/data/logos/private.png"));
        QCOMPARE(PlanLogo::copyOf("../../private.png", "/data/logos"), QString("/data/logos/private.png"));
        QCOMPARE(PlanLogo::copyOf("", "/data/logos"), QString());
    }

    void whatIsNoLogoIsRefusedWithItsReason_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("why");
        // clang-format off
        QTest::newRow("text") << QByteArray("Fjordlight AS") << "it is not a picture";
        QTest::newRow("empty") << QByteArray("") << "it is empty";
        QTest::newRow("GIF") << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14) << "it is a gif picture";
        QTest::newRow("100 megapixels") << pngHeader(10000, 10000) << "10000 × 10000 pixels";
        QTest::newRow("a damaged PNG") << png().left(100) << "it cannot be drawn";
        QTest::newRow("SVG with a picture from another file") << kSvgOpening + "<image xlink:href=\"file:///etc/hostname\" width=\"10\" height=\"10\"/></svg>" << "it refers to file:///etc/hostname";
        QTest::newRow("SVG with a picture from the network") << kSvgOpening + "<image href=\"https://example.com/a.png\" width=\"10\" height=\"10\"/></svg>" << "it refers to https://example.com/a.png";
        QTest::newRow("SVG with a style from the network") << kSvgOpening + "<style>@import url(https://example.com/s.css);</style></svg>" << "its style refers to other files";
        QTest::newRow("SVG with a fill from another file") << kSvgOpening + "<rect width=\"9\" height=\"9\" fill=\"url(other.svg#p)\"/></svg>" << "its style refers to other files";
        QTest::newRow("SVG with an entity") << QByteArray("<!DOCTYPE svg [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>") + kSvgOpening + "<text>&x;</text></svg>" << "it declares entities of its own";
        QTest::newRow("SVG with entities that multiply") << QByteArray("<!DOCTYPE svg [<!ENTITY a \"laugh\"><!ENTITY b \"&a;&a;&a;&a;\">]>") + kSvgOpening + "<text>&b;</text></svg>" << "it declares entities of its own";
        QTest::newRow("SVG with a document type of another's") << QByteArray("<!DOCTYPE svg PUBLIC \"-//Someone//Types//EN\" \"file:///etc/types.dtd\">") + svg("") << "it declares entities of its own";
        QTest::newRow("SVG with a drawing written in that refers to another file") << svg(written("image/svg+xml", svg("<image href=\"file:///home/me/secret.png\"/>"))) << "a drawing written into it is refused, as it refers to file:///home/me/secret.png";
        QTest::newRow("SVG with a drawing written in twice, in a style") << svg( "<rect width=\"9\" height=\"9\" style=\"fill:url(data:image/svg+xml," + QUrl::toPercentEncoding(svg(written("image/svg+xml", svg("<image href=\"/etc/x.png\"/>")))) + ")\"/>") << "refers to /etc/x.png";
        QTest::newRow("SVG with a page written in") << svg(written("text/html", "<p>hi</p>")) << "a kind a logo cannot carry (text/html)";
        QTest::newRow("PNG one byte over the byte cap") << paddedTo(png(), PlanLogo::kMostBytes + 1) << "far larger than a logo";
        QTest::newRow("SVG one byte over its byte cap") << svg("", PlanLogo::kMostDrawingBytes + 1) << "far larger drawing than a logo";
        QTest::newRow("SVG of one shape more than it may have") << svgOfElements(PlanLogo::kMostDrawnElements + 1) << "more than 5000 shapes";
        QTest::newRow("SVG whose <use> elements draw one shape more than it may") << svg("<g id=\"g\">" + QByteArray("<rect width=\"1\" height=\"1\"/>").repeated(98) + "</g>" + QByteArray("<use href=\"#g\"/>").repeated(49) + "<rect/>") << "its <use> elements draw more than 5000 shapes";
        QTest::newRow("SVG whose <use> elements fan out") << svg("<g id=\"a\"><rect/><rect/></g>" "<g id=\"b\"><use href=\"#a\"/><use href=\"#a\"/><use href=\"#a\"/><use href=\"#a\"/></g>" "<g id=\"c\"><use href=\"#b\"/><use href=\"#b\"/><use href=\"#b\"/><use href=\"#b\"/></g>" "<g id=\"d\"><use href=\"#c\"/><use href=\"#c\"/><use href=\"#c\"/><use href=\"#c\"/></g>" "<g id=\"e\"><use href=\"#d\"/><use href=\"#d\"/><use href=\"#d\"/><use href=\"#d\"/></g>" "<g id=\"f\"><use href=\"#e\"/><use href=\"#e\"/><use href=\"#e\"/><use href=\"#e\"/></g>") << "its <use> elements draw more than 5000 shapes";
        QTest::newRow("SVG whose <use> draws itself") << svg("<g id=\"a\"><rect/><use href=\"#a\"/></g>") << "its <use> elements draw more than 5000 shapes";
        QTest::newRow("SVG nested too deeply") << svg(QByteArray("<g>").repeated(64) + QByteArray("</g>").repeated(64)) << "more than 64 deep";
        // clang-format on
    }

    void whatIsNoLogoIsRefusedWithItsReason()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, why);
        writeFile(path("chosen.png"), content);
        try {
            PlanLogo::adopt(path("chosen.png"), path("logos"));
            QFAIL("refused nothing");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().contains(why), qPrintable(failure.description()));
            QVERIFY(failure.description().contains(path("chosen.png")));
        }
        QVERIFY(!QDir(path("logos")).exists() || QDir(path("logos")).isEmpty());
    }

    // Files that are no files are refused without reading them: a device
    // that never ends, a pipe no one writes to, a link to either.
    void whatIsNoFileIsRefusedUnread()
    {
        QVERIFY(QFile::link("/dev/zero", path("zero.png")));
        QVERIFY(QProcess::execute("mkfifo", {path("pipe.png")}) == 0);
        for (const QString& file : {QString("/dev/zero"), path("zero.png"), path("pipe.png")}) {
            try {
                PlanLogo::adopt(file, path("logos"));
                QFAIL(qPrintable(file + " was taken"));
            } catch (const Failure& failure) {
                QVERIFY2(failure.description().contains("a device, a pipe or a socket"),
                         qPrintable(failure.description()));
            }
        }
    }

    // Every picture within the pixel cap is drawn, a deep one too.
    void aPictureOfManyPixelsWithinTheCapIsTaken()
    {
        QImage image(6000, 6000, QImage::Format_RGBA64);
        image.fill(QColor("#124E66"));
        QVERIFY(image.save(path("big.png"), "PNG"));
        QVERIFY(!PlanLogo::adopt(path("big.png"), path("logos")).isEmpty());
    }
};

QTEST_MAIN(PlanLogoTest)
#include "test_plan_logo.moc"
