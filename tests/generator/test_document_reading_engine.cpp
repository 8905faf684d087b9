// Business plan documents written by the engine in the test, read back
// through its word processor: headings matched, the title and company
// found, every word placed or counted as left out; a locked document told
// apart from a damaged one; nothing a document links to fetched.
#include "engine/uno/uno_engine.h"
#include "generator/document_reading.h"
#include "plan/plan_import.h"
#include "plan/plan_sections.h"
#include "tests/support/file_bytes.h"
#include "tests/support/private_engine.h"
#include "tests/support/written_documents.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A part of the plan as written: a heading, its level, its paragraphs, and
// the section it should end up in ("" for left out).
struct SourcePart {
    int level;
    QString heading;
    QStringList paragraphs;
    QString section;
};

// A paragraph of about 80 words, the n-th of the plan, each unlike the
// others.
QString prose(int n)
{
    static const QStringList words = {"greens", "harbour", "growers", "customers", "restaurants", "light",
                                      "water",  "season",  "margin",  "delivery",  "local",       "fresh"};
    QStringList sentences;
    for (int s = 0; s < 8; ++s) {
        QStringList sentence = {QString("Paragraph%1s%2").arg(n).arg(s)};
        for (int w = 0; w < 9; ++w)
            sentence << words.at((n * 7 + s * 3 + w) % words.size());
        sentences << sentence.join(' ') + '.';
    }
    return sentences.join(' ');
}

// About ten pages: 44 paragraphs of 80 words, in headings as a real plan
// has them, with a summary and an appendix that name no section.
QList<SourcePart> tenPagePlan()
{
    int n = 0;
    const auto paragraphs = [&](int count) {
        QStringList all;
        for (int i = 0; i < count; ++i)
            all << prose(++n);
        return all;
    };
    return {{1, "Executive Summary", paragraphs(4), ""},
            {1, "1. Company Description", paragraphs(4), "Business Concept"},
            {1, "2. Market Analysis", paragraphs(3), "Market Summary"},
            {2, "2.1 Industry Trends", paragraphs(3), "Market Summary"},
            {2, "2.2 Competitors", paragraphs(3), "Competition"},
            {1, "3. Management Team", paragraphs(4), "The Team"},
            {1, "4. Milestones", paragraphs(4), "Goals & Objectives"},
            {1, "5. Financial Projections", paragraphs(5), "Financial Plan"},
            {1, "6. Funding Request", paragraphs(3), "Resource Requirements"},
            {1, "7. Risks", paragraphs(3), "Risk & Rewards"},
            {1, "Appendix", paragraphs(4), ""},
            {2, "Glossary", paragraphs(4), ""}};
}

QString html(const QList<SourcePart>& parts)
{
    QString body =
        "<p class=\"title\" style=\"font-size:28pt\">Fjordlight Business Plan 2027</p>"
        "<p>Fjordlight AS</p>";
    for (const SourcePart& part : parts) {
        body += QString("<h%1>%2</h%1>").arg(part.level).arg(part.heading);
        for (const QString& paragraph : part.paragraphs)
            body += "<p>" + paragraph + "</p>";
    }
    return "<html><head><meta charset=\"utf-8\"><title>Fjordlight Business Plan 2027</title></head><body>" + body
           + "</body></html>";
}

int sectionNamed(const QString& title)
{
    const QList<PlanSection> all = allSections();
    for (int i = 0; i < all.size(); ++i)
        if (all.at(i).title() == title)
            return i;
    return -1;
}

}  // namespace

class DocumentReadingEngineTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    PrivateEngine mEngine;
    QTemporaryDir mFolder;

    ImportedDocument read(const QString& path)
    {
        UnoEngine engine = mEngine.engine();
        return DocumentReading::read(engine, path, mFolder.path());
    }

    // What reading the document throws: its type and its description.
    QString failureOf(const QString& path)
    {
        try {
            read(path);
        } catch (const DocumentNeedsPassword& locked) {
            return "password: " + locked.description();
        } catch (const Failure& failure) {
            return "failure: " + failure.description();
        }
        return "read";
    }

private slots:
    void initTestCase() { QVERIFY2(mDisplay.ok(), "Xvfb could not be started"); }

    void cleanup()
    {
        QVERIFY2(mEngine.waitUntilEnded(15000), "an engine process was left running");
        mEngine.kill();
        QCOMPARE(QDir(mFolder.path()).entryList({"*.fodt"}, QDir::Files), QStringList());
    }

    void aTenPagePlanHasEveryWordPlacedOrCounted_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("Word") << "docx";
        QTest::newRow("OpenDocument") << "odt";
    }

    void aTenPagePlanHasEveryWordPlacedOrCounted()
    {
        QFETCH(QString, format);
        const QList<SourcePart> source = tenPagePlan();
        const QString path = mFolder.filePath("business-plan." + format);
        writeDocument(mEngine.settings(), html(source), path);
        QElapsedTimer timer;
        timer.start();
        const ImportedDocument document = read(path);
        qInfo("read in %.2f s", timer.elapsed() / 1000.0);

        const QList<PlanImport::Part> parts = PlanImport::parts(document);
        QCOMPARE(PlanImport::planTitle(document), QString("Fjordlight Business Plan 2027"));
        QCOMPARE(PlanImport::companyName(document, parts), QString("Fjordlight AS"));
        const PlanImport::Result result = PlanImport::sectionTexts(document, parts, PlanImport::Prose::WholeParagraphs);
        // The title's line (HTML has no title style: the title comes from
        // the document's property) and the parts that name no section are
        // left out, headings and all; every other paragraph is in its
        // section, the company's line is the company's name.
        int wordsLeftOut = 4;
        for (const SourcePart& part : source) {
            const int section = sectionNamed(part.section);
            for (const QString& paragraph : part.paragraphs) {
                if (section < 0)
                    wordsLeftOut += PlanImport::wordCount(paragraph);
                else
                    QVERIFY2(result.sectionTexts.value(section).split("\r\n").contains(paragraph),
                             qPrintable(part.heading));
            }
            if (section < 0)
                wordsLeftOut += PlanImport::wordCount(part.heading);
        }
        QCOMPARE(result.wordsLeftOut, wordsLeftOut);
        QCOMPARE(result.sectionTexts.size(), 8);
    }

    // A locked document is told as such at once; a damaged one, and one of
    // another kind under the name, as unreadable.
    void aLockedDocumentIsToldApartFromADamagedOne()
    {
        const QString locked = mFolder.filePath("locked.odt");
        writeDocument(mEngine.settings(), html(tenPagePlan().mid(0, 2)), locked, "secret");
        QElapsedTimer timer;
        timer.start();
        QVERIFY2(failureOf(locked).startsWith("password: " + locked + " is protected with a password."),
                 qPrintable(failureOf(locked)));
        QVERIFY(timer.elapsed() < 30000);

        const QString damaged = mFolder.filePath("damaged.docx");
        writeDocument(mEngine.settings(), html(tenPagePlan()), damaged);
        QByteArray bytes = readFile(damaged);
        writeFile(damaged, bytes.left(bytes.size() / 2));
        const QString picture = mFolder.filePath("picture.odt");
        writeFile(picture, QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(2000, 'x'));
        for (const QString& unreadable : {damaged, picture})
            QVERIFY2(failureOf(unreadable).startsWith("failure: Reading the document " + unreadable + " failed"),
                     qPrintable(failureOf(unreadable)));
        const QString empty = mFolder.filePath("empty.docx");
        writeDocument(mEngine.settings(), "<html><body><p> </p></body></html>", empty);
        QCOMPARE(failureOf(empty), "failure: " + empty + " holds no text to import.");
    }

    // A document of 500 pages (200,000 words) is read within 15 s.
    void aFiveHundredPageDocumentIsReadInTime()
    {
        QString html = "<html><body>";
        for (int part = 0; part < 100; ++part) {
            html += QString("<h1>Part %1</h1>").arg(part);
            for (int p = 0; p < 25; ++p)
                html += "<p>" + prose(part * 25 + p) + "</p>";
        }
        const QString path = mFolder.filePath("long.docx");
        writeDocument(mEngine.settings(), html + "</body></html>", path);
        QElapsedTimer timer;
        timer.start();
        const ImportedDocument document = read(path);
        qInfo("500 pages read in %.2f s", timer.elapsed() / 1000.0);
        QVERIFY(timer.elapsed() < 15000);
        QCOMPARE(PlanImport::parts(document).size(), 100);
    }

    // A remote picture, a style sheet and fields that include a picture and
    // a text from elsewhere: the engine asks nothing of the server.
    void nothingADocumentLinksToIsFetched()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString at = QString("http://127.0.0.1:%1/").arg(server.serverPort());
        const QString page = mFolder.filePath("linked.html");
        writeFile(page, ("<html><head><link rel=\"stylesheet\" href=\"" + at
                         + "style.css\"></head><body>"
                           "<h1>Market Analysis</h1><p>Linked <img src=\""
                         + at
                         + "logo.png\"> here.</p>"
                           "<iframe src=\""
                         + at + "frame.html\"></iframe></body></html>")
                            .toUtf8());
        const QString rtf = mFolder.filePath("fields.rtf");
        writeFile(rtf, ("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Market Analysis\\par "
                        "{\\field{\\*\\fldinst INCLUDEPICTURE \""
                        + at
                        + "chart.png\" \\\\d}{\\fldrslt }}\\par "
                          "{\\field{\\*\\fldinst INCLUDETEXT \""
                        + at + "text.docx\"}{\\fldrslt old}}\\par }")
                           .toUtf8());
        for (const QString& document : {page, rtf}) {
            const ImportedDocument read = this->read(document);
            QVERIFY2(!read.blocks.isEmpty(), qPrintable(document));
        }
        QTest::qWait(500);
        QVERIFY2(!server.hasPendingConnections(), "the engine asked the server for linked content");
    }
};

QTEST_GUILESS_MAIN(DocumentReadingEngineTest)
#include "test_document_reading_engine.moc"
