// The template deck as an audience sees it. Filled through the engine with a
// short, a typical and a long plan, exported to PDF by the engine and read
// back word by word and pixel by pixel: every text stays on its slide and
// inside the shape the template gives it, each line of a section carries a
// bullet (an empty line none), slides 2 to 12 show their section's title,
// their number and the total, and each section slide shows its drawing
// beside the text.
#include "engine/uno/uno_engine.h"
#include "plan/plan_designs.h"
#include "plan/plan_sections.h"
#include "tests/support/deck_text.h"
#include "tests/support/pdf_words.h"
#include "tests/support/private_engine.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRectF>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// A box of the template's description, in hundredths of a millimetre, in
// points.
QRectF boxIn(const QJsonObject& shape)
{
    const QJsonArray box = shape["box"].toArray();
    const double points = 72.0 / 2540.0;
    return QRectF(box[0].toDouble() * points, box[1].toDouble() * points, box[2].toDouble() * points,
                  box[3].toDouble() * points);
}

// Whether a word lies inside the box, up to a point either way. The word's
// box is the font's full height, which reaches past the drawn letters, so
// only its middle half of the height counts.
bool inside(const QRectF& box, const QRectF& word)
{
    const QRectF letters = word.adjusted(0, word.height() / 4, 0, -word.height() / 4);
    return box.adjusted(-1, -1, 1, 1).contains(letters);
}

// The description a design's template deck is built from.
QJsonObject description(const PlanDesigns::Design& design)
{
    QFile file(QStringLiteral(ORVENDALE_ASSETS_DIR "/%1.json").arg(QFileInfo(design.templateFile).completeBaseName()));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Words no section text uses: each line of a section is made of these.
const QStringList kVocabulary = {"grow",  "steady", "market", "farms",  "rooftop",  "harvest", "local",  "chefs",
                                 "fresh", "greens", "every",  "season", "partners", "cities",  "quality"};

QString sectionLine(int section, int line)
{
    QStringList words;
    for (int i = 0; i < 9; ++i)
        words << kVocabulary[(section * 7 + line * 3 + i) % kVocabulary.size()];
    return words.join(' ');
}

}  // namespace

class TemplateDeckTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    PrivateEngine mEngine;
    QTemporaryDir mFolder;
    QJsonObject mLook = description(PlanDesigns::all().first());

private slots:
    void initTestCase() { QVERIFY2(mDisplay.ok(), "Xvfb could not be started"); }
    void cleanup() { mEngine.kill(); }

    void aFilledDeckStaysInsideItsShapes_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("planTitle");
        // A section's lines: "x" a line of text, "" an empty line.
        QTest::addColumn<QStringList>("lines");
        QStringList fifteen;
        for (int i = 0; i < 15; ++i)
            fifteen << "x";
        for (const PlanDesigns::Design& design : PlanDesigns::all()) {
            const auto row = [&](const char* plan) -> QTestData& {
                return QTest::addRow("%s %s", qPrintable(design.id), plan);
            };
            row("short") << design.id << "Fjordlight AS"
                         << "Light for the north" << QStringList{"x"};
            row("typical") << design.id << "Fjordlight AS"
                           << "Indoor farms for city restaurants" << QStringList{"x", "x", "", "x"};
            row("long") << design.id << "Fjordlight Vertical Farming and Northern Light Agriculture Cooperative AS"
                        << "A five-year path for indoor farms that supply fresh greens to the "
                           "restaurants of every northern city, all year round"
                        << fifteen;
        }
    }

    void aFilledDeckStaysInsideItsShapes()
    {
        QFETCH(QString, design);
        QFETCH(QString, company);
        QFETCH(QString, planTitle);
        QFETCH(QStringList, lines);

        const PlanDesigns::Design& chosen = PlanDesigns::chosen(design);
        mLook = description(chosen);
        const QString deckPath = mFolder.filePath(QStringLiteral("%1.ppt").arg(QTest::currentDataTag()));
        QFile::remove(deckPath);
        QVERIFY(QFile::copy(QFileInfo(templateDeck()).dir().filePath(chosen.templateFile), deckPath));
        QFile::setPermissions(deckPath, QFile::ReadOwner | QFile::WriteOwner);
        const auto app = mEngine.engine().CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(deckPath);
        writeShape(*app, *deck, 1, "Rectangle 2", company);
        // As the generator does: the company name is given a size that fits.
        deck->Slides(1).Shapes("Rectangle 2").Select();
        app->ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
        app->ActiveWindow().Selection().TextRange().FitToShape();
        writeShape(*app, *deck, 1, "Rectangle 3", planTitle);
        QList<QStringList> sections;
        for (int slide = 2; slide <= 12; ++slide) {
            QStringList text;
            for (int line = 0; line < lines.size(); ++line)
                text << (lines[line].isEmpty() ? QString() : sectionLine(slide, line));
            sections << text;
            writeShape(*app, *deck, slide, "Rectangle 3", text.join("\r\n"));
        }
        // Saved and opened again, as the viewer shows it.
        deck->Save();
        deck->Close();
        const auto saved = app->Presentations().OpenWithoutWindow(deckPath);
        const QString pdf = mFolder.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        saved->SaveCopyAs(pdf, SaveAsFileType::PDF);
        app->Quit();

        const QList<Page> pages = pagesOf(pdf);
        QCOMPARE(pages.size(), 12);
        const QList<PlanSection> planSections = allSections();
        const QJsonObject title = mLook["titleSlide"].toObject();
        const QJsonObject section = mLook["sectionSlide"].toObject();
        const QRectF body = boxIn(section["body"].toObject());
        for (int number = 1; number <= 12; ++number) {
            const Page& page = pages[number - 1];
            const QRectF slide(QPointF(0, 0), page.size);
            for (const Word& word : page.words)
                QVERIFY2(inside(slide, word.box),
                         qPrintable(QStringLiteral("slide %1: \"%2\" runs off the slide").arg(number).arg(word.text)));
            if (number == 1) {
                for (const auto& [text, shape] : {std::pair{company, "company"}, std::pair{planTitle, "plan"}}) {
                    const QRectF box = boxIn(title[shape].toObject());
                    for (const Word& word : page.words)
                        if (text.split(' ').contains(word.text))
                            QVERIFY2(
                                inside(box, word.box),
                                qPrintable(QStringLiteral("\"%1\" lies outside the %2 shape").arg(word.text, shape)));
                }
                continue;
            }
            int bullets = 0;
            for (const Word& word : page.words) {
                bullets += word.text == QStringLiteral("•");
                if (kVocabulary.contains(word.text) || word.text == QStringLiteral("•"))
                    QVERIFY2(inside(body, word.box),
                             qPrintable(
                                 QStringLiteral("slide %1: \"%2\" lies outside the body").arg(number).arg(word.text)));
            }
            const QString heading = QString(planSections[number - 2].caption).replace("&&", "&");
            QVERIFY2(
                page.text().contains(heading),
                qPrintable(QStringLiteral("slide %1 is not titled \"%2\": %3").arg(number).arg(heading, page.text())));
            const QStringList& written = sections[number - 2];
            QCOMPARE(bullets, static_cast<int>(written.size() - written.count(QString())));
            for (const QString& line : written)
                QVERIFY2(page.text().contains(line),
                         qPrintable(QStringLiteral("slide %1 lacks \"%2\"").arg(number).arg(line)));
            QVERIFY2(page.text().contains(QStringLiteral("%1 / 12").arg(number)),
                     qPrintable(QStringLiteral("slide %1 shows no slide number: %2").arg(number).arg(page.text())));
        }
        checkDrawingsBesideTheText(pdf);
    }

    // The user watches the deck being filled: in the engine's window, empty
    // lines after a line of text add no bullet to it.
    void emptyLinesShowNoBulletWhileTheDeckIsFilled()
    {
        const QString deckPath = copyOfTemplateDeck(mFolder.filePath(QStringLiteral("watched.ppt")));
        const auto app = mEngine.engine().CreateObject();
        app->setVisible(true);
        const auto deck = app->Presentations().Open(deckPath);
        const auto bulletInkShowing = [&](const QString& text) {
            writeShape(*app, *deck, 2, "Rectangle 3", text);
            QTest::qWait(1500);  // the engine repaints its window when idle
            return pixelsOf(screenshot(), QColor(mLook["colours"].toObject()["accent"].toString()));
        };
        const int oneLine = bulletInkShowing("x");
        QCOMPARE(bulletInkShowing("x\r\n\r\n\r\n"), oneLine);
        deck->Close();
        app->Quit();
    }

private:
    static QImage screenshot()
    {
        QProcess import;
        import.start("import", {"-window", "root", "png:-"});
        import.waitForFinished(20000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG");
    }

    static int pixelsOf(const QImage& image, const QColor& colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y).rgb() == colour.rgb();
        return count;
    }

    // Each section slide has a drawing of its own in the place the template
    // gives it: no two are alike, and none is blank.
    void checkDrawingsBesideTheText(const QString& pdf)
    {
        QProcess render;
        render.start("pdftoppm", {"-r", "24", "-png", pdf, mFolder.filePath("slide")});
        QVERIFY(render.waitForFinished(60000));
        const QRectF visual = boxIn(mLook["sectionSlide"].toObject()["visual"].toObject());
        QSet<QByteArray> drawings;
        for (int number = 2; number <= 12; ++number) {
            const QImage slide(mFolder.filePath(QStringLiteral("slide-%1.png").arg(number, 2, 10, QChar('0'))));
            QVERIFY(!slide.isNull());
            const double scale = 24.0 / 72.0;
            const QImage drawing = slide.copy(QRectF(visual.topLeft() * scale, visual.size() * scale).toRect());
            int inked = 0;
            for (int y = 0; y < drawing.height(); ++y)
                for (int x = 0; x < drawing.width(); ++x)
                    inked += drawing.pixel(x, y) != qRgb(255, 255, 255);
            QVERIFY2(inked > drawing.width() * drawing.height() / 20,
                     qPrintable(QStringLiteral("slide %1 has no drawing").arg(number)));
            drawings.insert(QByteArray(reinterpret_cast<const char*>(drawing.constBits()), drawing.sizeInBytes()));
        }
        QCOMPARE(drawings.size(), 11);
    }
};

QTEST_MAIN(TemplateDeckTest)
#include "test_template_deck.moc"
