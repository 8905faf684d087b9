// A logo is a picture the deck can carry whole: anything else is refused
// with its reason, and the plan keeps a copy of its own.
#include "plan/plan_logo.h"
#include "shell/failure.h"
#include "tests/support/file_bytes.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

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
        QTest::newRow("PNG") << png() << "png";
        QTest::newRow("SVG with its own gradient and a picture written in")
            << kSvgOpening
                   + "<defs><linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"#124E66\"/></linearGradient></defs>"
                     "<rect width=\"200\" height=\"100\" style=\"fill:url(#g)\"/>"
                     "<image xlink:href=\"data:image/png;base64,"
                   + png(4, 4).toBase64() + "\" width=\"4\" height=\"4\"/></svg>"
            << "svg";
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
        QTest::newRow("text") << QByteArray("Fjordlight AS") << "it is not a picture";
        QTest::newRow("empty") << QByteArray("") << "it is empty";
        QTest::newRow("GIF") << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14) << "it is a gif picture";
        QTest::newRow("100 megapixels") << pngHeader(10000, 10000) << "10000 × 10000 pixels";
        QTest::newRow("a damaged PNG") << png().left(100) << "it cannot be drawn";
        QTest::newRow("SVG with a picture from another file")
            << kSvgOpening + "<image xlink:href=\"file:///etc/hostname\" width=\"10\" height=\"10\"/></svg>"
            << "it refers to file:///etc/hostname";
        QTest::newRow("SVG with a picture from the network")
            << kSvgOpening + "<image href=\"https://example.com/a.png\" width=\"10\" height=\"10\"/></svg>"
            << "it refers to https://example.com/a.png";
        QTest::newRow("SVG with a style from the network")
            << kSvgOpening + "<style>@import url(https://example.com/s.css);</style></svg>"
            << "its style refers to other files";
        QTest::newRow("SVG with a fill from another file")
            << kSvgOpening + "<rect width=\"9\" height=\"9\" fill=\"url(other.svg#p)\"/></svg>"
            << "its style refers to other files";
        QTest::newRow("SVG with an entity") << QByteArray("<!DOCTYPE svg [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>")
                                                   + kSvgOpening + "<text>&x;</text></svg>"
                                            << "it declares entities of its own";
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
};

QTEST_MAIN(PlanLogoTest)
#include "test_plan_logo.moc"
