// Deck generation against a real, private engine instance; each run takes at
// least seven seconds because of the pauses the user watches.
#include "engine/uno/uno_engine.h"
#include "generator/deck_generation.h"
#include "plan/plan_designs.h"
#include "shell/settings_store.h"
#include "shell/system_side_effects.h"
#include "tests/support/deck_text.h"
#include "tests/support/fakes.h"
#include "tests/support/pdf_words.h"
#include "tests/support/private_engine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>

class DeckGenerationEngineTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    PrivateEngine mEngine;
    std::unique_ptr<QTemporaryDir> mProgram;
    std::unique_ptr<QTemporaryDir> mTemp;
    std::unique_ptr<SettingsStore> mStore;
    FakeDialogs mDialogs;
    // The pauses the user watches are skipped: a reading of this clock is
    // a second after the last, so each pause ends after a few (the decks
    // come out the same, a generation in about a second instead of eight).
    // The test of pauses cut short by a dead engine keeps the real clock.
    FakeClock mSkippingClock = [] {
        FakeClock clock;
        clock.step = 1.0f;
        return clock;
    }();
    SystemClock mSystemClock;
    Clock* mClock = &mSkippingClock;

    void generate(const QString& target, const QString& company = "Acme & Co")
    {
        UnoEngine engine = mEngine.engine();
        generateWith(engine, target, company);
    }

    void generateWith(PresentationEngine& engine, const QString& target, const QString& company = "Acme & Co")
    {
        DeckGeneration::generateBusinessPlan(
            target,
            {[&] { return company; }, [] { return QString("Plan 2027"); },
             [&](const QString& key) { return mStore->getSetting(key); }, mStore->getSetting("Spelling Language")},
            {engine, mDialogs, *mClock, mProgram->path(), mTemp->path()});
    }

    // Reads every section shape of a deck, slide 2 to 12, and the title slide.
    QStringList readDeck(const QString& path, int slides = 12)
    {
        UnoEngine engine = mEngine.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(path);
        QStringList texts = {shapeText(*app, *deck, 1, "Rectangle 2"), shapeText(*app, *deck, 1, "Rectangle 3")};
        for (int slide = 2; slide <= slides; ++slide)
            texts << shapeText(*app, *deck, slide, "Rectangle 3");
        app->Quit();
        return texts;
    }

    // The members of a zip archive (a .pptx or .odp), as one text.
    static QString unzipped(const QString& archive, const QString& members)
    {
        QProcess unzip;
        unzip.start("unzip", {"-p", archive, members});
        unzip.waitForFinished(20000);
        return QString::fromUtf8(unzip.readAllStandardOutput());
    }

    // The pages on which pdfimages finds a picture.
    static QSet<int> pagesWithPictures(const QString& pdf)
    {
        QProcess list;
        list.start("pdfimages", {"-list", pdf});
        list.waitForFinished(20000);
        QSet<int> pages;
        for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split('\n').mid(2))
            if (line.simplified().section(' ', 2, 2) == "image")
                pages << line.simplified().section(' ', 0, 0).toInt();
        return pages;
    }

private slots:
    void initTestCase() { QVERIFY2(mDisplay.ok(), "Xvfb could not be started"); }

    void init()
    {
        mProgram = std::make_unique<QTemporaryDir>();
        mTemp = std::make_unique<QTemporaryDir>();
        qputenv("TEMP", mTemp->path().toLocal8Bit());
        mStore = std::make_unique<SettingsStore>(mTemp->filePath("store.json"));
        mDialogs = FakeDialogs();
        mClock = &mSkippingClock;
        // The template beside the program, as installed; the tests of
        // another template, or of none, take it away.
        QVERIFY(QFile::copy(templateDeck(), mProgram->filePath("business_plan.ppt")));
    }

    void cleanup()
    {
        QVERIFY2(mEngine.waitUntilEnded(15000), "an engine process was left running");
        mEngine.kill();
    }

    void everySectionRuleEndsUpInTheSavedDeck()
    {
        mStore->saveSetting("FirstStatement_0", "Heading\r\n- hint\r\nMine");
        mStore->saveSetting("FirstStatement_1", "- only\r\n- hints");
        mStore->saveSetting("FirstStatement_3", "No final break");
        mStore->saveSetting("FirstStatement_4", "Ends with a break\r\n");
        mStore->saveSetting("FirstStatement_5", " - kept\r\n-dropped");
        mStore->saveSetting("SecondStatement_0", QString::fromUtf8("Größe 中文\r\n\r\nnach der Leerzeile"));
        const QString target = mTemp->filePath("ps11111111.ppt");

        generate(target);

        QVERIFY2(mDialogs.errorReports.isEmpty(), qPrintable(mDialogs.errorReports.join("\n")));
        QVERIFY(QFile::exists(mTemp->filePath("business_plan.ppt")));
        QCOMPARE(readDeck(target), QStringList({
                                       "Acme & Co",
                                       "Plan 2027",
                                       "Heading\r\nMine\r\n",
                                       "",
                                       "",
                                       "No final break\r\n",
                                       "Ends with a break\r\n\r\n",
                                       " - kept\r\n",
                                       QString::fromUtf8("Größe 中文\r\n\r\nnach der Leerzeile\r\n"),
                                       "",
                                       "",
                                       "",
                                       "",
                                   }));
    }

    // One failure of the engine or of the template is told once, at its
    // own step; the steps that cannot run after it say nothing.
    void anEngineThatCannotRunOrADamagedTemplateIsToldOnce()
    {
        X11WindowSystem windows;
        const auto toldOnceAt = [&](int line, const QString& what) {
            QVERIFY2(mDialogs.reportedLines() == QList<int>({line}),
                     qPrintable(what + ": " + mDialogs.errorReports.join("\n")));
            QVERIFY(mDialogs.messages.isEmpty());
            mDialogs = FakeDialogs();
        };

        // The engine's profile cannot be made (its folder lies below a file).
        EngineSettings noProfile = mEngine.settings();
        QFile(mTemp->filePath("a-file")).open(QIODevice::WriteOnly);
        noProfile.profileDir = mTemp->filePath("a-file/profile");
        UnoEngine withoutProfile(windows, noProfile);
        generateWith(withoutProfile, mTemp->filePath("ps60000001.ppt"));
        toldOnceAt(100, "no profile");

        // The engine ends as soon as it starts.
        UnoEngine ending(windows, mEngine.withStandInProgram("ends-at-once", "exit 0"));
        generateWith(ending, mTemp->filePath("ps60000002.ppt"));
        toldOnceAt(100, "ends at once");
        QVERIFY(QDir(mTemp->path()).entryList({"orvendale-engine-*"}).isEmpty());

        // The template is damaged.
        QFile damaged(mProgram->filePath("business_plan.ppt"));
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(4096, 'z'));
        damaged.close();
        generate(mTemp->filePath("ps60000003.ppt"));
        toldOnceAt(114, "damaged template");
        QVERIFY(mEngine.waitUntilEnded(15000));

        // The engine is killed while the deck is filled.
        QFile::remove(mProgram->filePath("business_plan.ppt"));
        QFile::copy(templateDeck(), mProgram->filePath("business_plan.ppt"));
        mClock = &mSystemClock;
        QTimer::singleShot(3000, [&] { mEngine.signal(mEngine.pid(), SIGKILL); });
        QElapsedTimer timer;
        timer.start();
        generate(mTemp->filePath("ps60000004.ppt"));
        QCOMPARE(mDialogs.reportedLines().size(), 1);
        QVERIFY2(mDialogs.errorReports.first().contains("no longer running"),
                 qPrintable(mDialogs.errorReports.first()));
        QVERIFY2(timer.elapsed() < 5000, "the pauses went on after the engine had gone");
    }

    void templateOnlyInTempIsFilledInTheRunningInstanceWhichIsQuit()
    {
        QFile::remove(mProgram->filePath("business_plan.ppt"));
        QFile::copy(templateDeck(), mTemp->filePath("business_plan.ppt"));
        mStore->saveSetting("SecondStatement_4", "Short term:\r\nHire two growers");
        UnoEngine engine = mEngine.engine();
        const auto running = engine.CreateObject();
        running->setVisible(true);
        QFile::copy(templateDeck(), mTemp->filePath("ps00000000.ppt"));
        const auto other = running->Presentations().OpenWithoutWindow(mTemp->filePath("ps00000000.ppt"));
        other->SlideShowSettings().Run();
        const qint64 pid = mEngine.pid();
        const QString target = mTemp->filePath("ps22222222.ppt");

        generate(target);

        QVERIFY(mDialogs.errorReports.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(pid), 15000);
        const QStringList deck = readDeck(target);
        QCOMPARE(deck.first(), QString("Acme & Co"));
        QCOMPARE(deck.last(), QString("Short term:\r\nHire two growers\r\n"));
    }

    void noTemplateAnywhereMakesNoFileAndNoMessage()
    {
        QFile::remove(mProgram->filePath("business_plan.ppt"));
        const QString target = mTemp->filePath("ps33333333.ppt");
        generate(target);
        QVERIFY(!QFile::exists(target));
        QVERIFY(mDialogs.errorReports.isEmpty());
        QVERIFY(mDialogs.messages.isEmpty());
    }

    void elevenSlideTemplateReportsTheStepsOfSlideTwelveAndIsStillSaved()
    {
        QFile::remove(mProgram->filePath("business_plan.ppt"));
        QCOMPARE(QProcess::execute(QCoreApplication::applicationDirPath() + "/make_template",
                                   {QFINDTESTDATA("../../assets/business_plan.json"),
                                    mProgram->filePath("business_plan.ppt"), mTemp->filePath("work"), "10"}),
                 0);
        mStore->saveSetting("SecondStatement_3", "Risks we know");
        const QString target = mTemp->filePath("ps44444444.ppt");

        generate(target);

        QCOMPARE(mDialogs.reportedLines(), QList<int>({422, 424, 426, 428, 444}));
        QVERIFY(mDialogs.errorReports.first().contains("no slide 12"));
        QCOMPARE(readDeck(target, 11).last(), QString("Risks we know\r\n"));
    }

    // A line longer than a text box holds is cut, on its slide alone.
    void controlCharactersAreDroppedAndTooLongTextsCutAndReported()
    {
        mStore->saveSetting("FirstStatement_0", QString("Before") + QChar(0) + "after\tTab" + QChar(7) + "!");
        mStore->saveSetting("FirstStatement_2", QString(40000, 'x'));
        const QString target = mTemp->filePath("ps55555555.ppt");

        generate(target, QString("Acme") + QChar(0) + " AS");

        QCOMPARE(mDialogs.reportedLines(), QList<int>({220}));
        QVERIFY(mDialogs.errorReports[0].startsWith("The section on slide 4 (\"xxx"));
        const QStringList deck = readDeck(target);
        QCOMPARE(deck[0], QString("Acme AS"));
        QCOMPARE(deck[2], QString("Beforeafter\tTab!\r\n"));
        // The deck's reader breaks a line this long into parts of its own.
        QVERIFY(deck[4].count('x') >= 32000);
        QVERIFY(QString(deck[4]).replace("\r\n", "\n").size() <= DeckGeneration::maxSlideTextLength);
    }

    // A plan with a 4-line section, one of 15 long sentences and one of 40
    // lines: in the PDF every line shows once, in order, at 18 pt or more and
    // on its slide; the short section keeps slide 2 to itself; every slide
    // from the second shows "n / N" and the company name; the .pptx and .odp
    // copies hold the same slides and lines.
    // Speaker notes reach the notes page of the section's slide in every
    // format the viewer saves, and never the slide or the PDF.
    void notesGoToTheNotesPageOfTheSlideInEveryFormat()
    {
        mStore->saveSetting("FirstStatement_2",
                            "Jane Berg, founder\r\n\r\nNotes:\r\nMention her two exits\r\n"
                            "- a hint\r\nThen the hiring plan");
        const QString target = mTemp->filePath("ps24242424.ppt");
        generate(target);
        QVERIFY2(mDialogs.errorReports.isEmpty(), qPrintable(mDialogs.errorReports.join("\n")));

        UnoEngine engine = mEngine.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(target);
        deck->SaveCopyAs(mTemp->filePath("copy.pptx"), SaveAsFileType::OpenXMLPresentation);
        deck->SaveCopyAs(mTemp->filePath("copy.odp"), SaveAsFileType::OpenDocumentPresentation);
        deck->SaveCopyAs(mTemp->filePath("copy.pdf"), SaveAsFileType::PDF);
        QCOMPARE(shapeText(*app, *deck, 4, "Rectangle 3"), QString("Jane Berg, founder\r\n"));
        app->Quit();

        const auto unzipped = [&](const QString& file, const QString& member) {
            QProcess unzip;
            unzip.start("unzip", {"-p", mTemp->filePath(file), member});
            unzip.waitForFinished(20000);
            return QString::fromUtf8(unzip.readAllStandardOutput());
        };
        // .ppt (reopened above) and .pptx: the fourth slide's notes slide.
        const QString rels = unzipped("copy.pptx", "ppt/slides/_rels/slide4.xml.rels");
        const QRegularExpressionMatch notesSlide = QRegularExpression("notesSlides/(notesSlide\\d+\\.xml)").match(rels);
        QVERIFY2(notesSlide.hasMatch(), qPrintable(rels));
        const QString notes = unzipped("copy.pptx", "ppt/notesSlides/" + notesSlide.captured(1));
        QVERIFY2(
            notes.contains("<a:t>Mention her two exits</a:t>") && notes.contains("<a:t>Then the hiring plan</a:t>"),
            qPrintable(notes));
        QVERIFY(!notes.contains("a hint"));
        QVERIFY(!unzipped("copy.pptx", "ppt/slides/slide4.xml").contains("Mention"));
        // .odp: inside the fourth page's notes.
        const QString content = unzipped("copy.odp", "content.xml");
        const qsizetype at = content.indexOf("Mention her two exits");
        QVERIFY2(at > 0 && content.indexOf("Mention", at + 1) < 0, qPrintable(content.left(2000)));
        QCOMPARE(content.left(at).count("<draw:page "), 4);
        QVERIFY(content.lastIndexOf("<presentation:notes", at) > content.lastIndexOf("<draw:page ", at));
        QVERIFY(content.indexOf("Then the hiring plan", at) > at);
        // The PDF shows the slide alone.
        const QList<Page> pages = pagesOf(mTemp->filePath("copy.pdf"));
        QCOMPARE(pages.size(), 12);
        QVERIFY(pages[3].text().contains("founder"));
        for (const Page& page : pages)
            QVERIFY2(!page.text().contains("Mention") && !page.text().contains("hiring"), qPrintable(page.text()));
    }

    void longSectionsGoOnOnFurtherSlidesAtTheFloorSize_data()
    {
        QTest::addColumn<QString>("design");
        for (const PlanDesigns::Design& design : PlanDesigns::all())
            QTest::newRow(qPrintable(design.id)) << design.id;
    }

    void longSectionsGoOnOnFurtherSlidesAtTheFloorSize()
    {
        QFETCH(QString, design);
        const QString templateFile = PlanDesigns::chosen(design).templateFile;
        QFile::remove(mProgram->filePath(templateFile));
        QVERIFY(QFile::copy(QFileInfo(templateDeck()).dir().filePath(templateFile), mProgram->filePath(templateFile)));
        mStore->saveSetting("Design", design);
        const QStringList words = {"grow",  "steady", "market", "farms",  "rooftop",  "harvest", "local",  "chefs",
                                   "fresh", "greens", "every",  "season", "partners", "cities",  "quality"};
        // Each line starts with a mark of its own: S<section>L<line>.
        QStringList marks;
        const auto section = [&](int number, int lines, int wordsPerLine) {
            QStringList text;
            for (int line = 1; line <= lines; ++line) {
                const QString mark = QString("S%1L%2").arg(number).arg(line, 2, 10, QChar('0'));
                marks << mark;
                QStringList sentence{mark};
                for (int w = 0; w < wordsPerLine; ++w)
                    sentence << words[(number * 7 + line * 3 + w) % words.size()];
                text << sentence.join(' ');
            }
            return text.join("\r\n");
        };
        mStore->saveSetting("FirstStatement_0", section(1, 4, 4));
        mStore->saveSetting("FirstStatement_1", section(2, 15, 16));
        mStore->saveSetting("FirstStatement_2", section(3, 40, 4));
        // With the company's logo, which takes nothing from the text's room.
        QImage logo(300, 100, QImage::Format_ARGB32);
        logo.fill(QColor("#C0392B"));
        QVERIFY(logo.save(mTemp->filePath("logo.png")));
        mStore->saveSetting("Logo", "logo.png");
        const QString target = mTemp->filePath("ps55555555.ppt");
        QElapsedTimer timer;
        timer.start();
        generate(target, "Fjordlight AS");
        qInfo("generation took %.1f s", timer.elapsed() / 1000.0);
        QVERIFY2(mDialogs.errorReports.isEmpty(), qPrintable(mDialogs.errorReports.join("\n")));

        UnoEngine engine = mEngine.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(target);
        QMap<QString, QList<Page>> saved;
        for (const QString format : {"ppt", "pptx", "odp"}) {
            const QString pdf = mTemp->filePath(format + ".pdf");
            if (format == "ppt") {
                deck->SaveCopyAs(pdf, SaveAsFileType::PDF);
            } else {
                const QString copy = mTemp->filePath("copy." + format);
                deck->SaveCopyAs(copy, format == "pptx" ? SaveAsFileType::OpenXMLPresentation
                                                        : SaveAsFileType::OpenDocumentPresentation);
                const auto reopened = app->Presentations().OpenWithoutWindow(copy);
                reopened->SaveCopyAs(pdf, SaveAsFileType::PDF);
                reopened->Close();
            }
            saved[format] = pagesOf(pdf);
            QCOMPARE(pagesWithPictures(pdf).size(), saved[format].size());
        }
        deck->SaveCopyAs(mTemp->filePath("logo.pptx"), SaveAsFileType::OpenXMLPresentation);
        app->Quit();
        // The .pptx embeds the logo in both designs' masters (the PDF draws
        // the masters' shapes as page furniture, which has no tags).
        QProcess unzip;
        unzip.start("unzip", {"-p", mTemp->filePath("logo.pptx"), "ppt/slideMasters/slideMaster*.xml"});
        QVERIFY(unzip.waitForFinished(20000));
        const QString masters = QString::fromUtf8(unzip.readAllStandardOutput());
        QCOMPARE(masters.count("<p:pic>"), 2);
        QCOMPARE(masters.count("r:embed="), 2);
        // Described, though the .ppt it was copied from keeps no descriptions.
        QCOMPARE(masters.count("descr=\"Fjordlight AS logo\""), 2);

        const QList<Page>& pages = saved["ppt"];
        QVERIFY2(pages.size() > 12, qPrintable(QString::number(pages.size())));
        QStringList shownMarks;
        double smallest = 1000;
        // By section ("S2"): the lines on each of its slides, and the sizes
        // its lines show at.
        QMap<QString, QList<int>> linesOnSlides;
        QMap<QString, QSet<int>> sizes;
        for (int number = 1; number <= pages.size(); ++number) {
            const Page& page = pages[number - 1];
            QStringList onPage;
            for (const Word& word : page.words) {
                if (marks.contains(word.text))
                    sizes[word.text.left(2)] << qRound(word.box.height() / 1.3);
                QVERIFY2(QRectF(QPointF(0, 0), page.size).adjusted(-1, -1, 1, 1).contains(word.box),
                         qPrintable(QString("slide %1: \"%2\" runs off the slide").arg(number).arg(word.text)));
                if (marks.contains(word.text))
                    onPage << word.text;
                // A word's box is the font's full height: 1.3 times its size.
                if (marks.contains(word.text) || words.contains(word.text))
                    smallest = std::min(smallest, word.box.height() / 1.3);
            }
            shownMarks << onPage;
            if (!onPage.isEmpty())
                linesOnSlides[onPage.first().left(2)] << static_cast<int>(onPage.size());
            if (number == 2)
                QCOMPARE(onPage, marks.first(4));
            if (number >= 2) {
                QVERIFY2(page.text().contains(QString("%1 / %2").arg(number).arg(pages.size())),
                         qPrintable(QString("slide %1: %2").arg(number).arg(page.text())));
                QVERIFY2(page.text().contains("Fjordlight AS"), qPrintable(page.text()));
            }
        }
        QCOMPARE(shownMarks, marks);
        QVERIFY2(smallest >= 17.5, qPrintable(QString("section text at %1 pt").arg(smallest)));
        // A split section's slides hold about as many lines each, at one
        // size.
        for (const QString section : {"S2", "S3"}) {
            const QList<int>& parts = linesOnSlides[section];
            QVERIFY2(parts.size() > 1, qPrintable(section));
            const int fullest = *std::max_element(parts.begin(), parts.end());
            for (const int lines : parts)
                QVERIFY2(2 * lines >= fullest, qPrintable(section + ": " + QString::number(lines)));
            QVERIFY2(sizes[section].size() == 1,
                     qPrintable(section + QString(": %1 sizes").arg(sizes[section].size())));
        }
        for (const QString format : {"pptx", "odp"}) {
            QCOMPARE(saved[format].size(), pages.size());
            QStringList copied;
            for (const Page& page : saved[format])
                for (const Word& word : page.words)
                    if (marks.contains(word.text))
                        copied << word.text;
            QCOMPARE(copied, marks);
        }
    }
    // A competitor grid and a forty-row table, each the engine's own table
    // on slides of their own after their section's, the long one going on
    // with its header repeated; native in every format, cells at 18 pt, and
    // a table with header and data cells in the tagged PDF. No table line
    // is slide text.
    void tablesAreNativeInEveryFormat()
    {
        mStore->saveSetting("FirstStatement_3",
                            "We deliver in a day\r\n"
                            "| Who | Price | Delivery | Local? |\r\n"
                            "|---|---:|---|---|\r\n"
                            "| Fjordlight | 12 | one day | yes |\r\n"
                            "| Acme Greens | 15 | two days | no |\r\n"
                            "| Basket Co | 11 | three days | no |\r\n"
                            "| Leafy | 14 | one day | yes |\r\n"
                            "| FreshBox | 18 | two days | no |");
        QStringList hiring = {"Table: Hiring", "Month\tHires\tCost"};
        for (int month = 1; month <= 40; ++month)
            hiring << QString("M%1\t%2\t-%3").arg(month, 2, 10, QChar('0')).arg(month % 4).arg(month * 10);
        mStore->saveSetting("SecondStatement_1", "Costs fall\r\n" + hiring.join("\r\n"));
        const QString target = mTemp->filePath("ps77777777.ppt");
        generate(target, "Fjordlight AS");
        QVERIFY2(mDialogs.errorReports.isEmpty(), qPrintable(mDialogs.errorReports.join("\n")));
        QVERIFY2(mDialogs.messages.isEmpty(), qPrintable(mDialogs.messages.join("\n")));

        UnoEngine engine = mEngine.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(target);
        // A screen reader in the viewer hears the grid row by row.
        QCOMPARE(deck->SpokenSlides().at(5),
                 QStringList({"Opportunities", "Who, Price, Delivery, Local?", "Fjordlight, 12, one day, yes",
                              "Acme Greens, 15, two days, no", "Basket Co, 11, three days, no",
                              "Leafy, 14, one day, yes", "FreshBox, 18, two days, no"}));
        const QString pptx = mTemp->filePath("copy.pptx"), odp = mTemp->filePath("copy.odp"),
                      pdf = mTemp->filePath("copy.pdf"), fromPpt = mTemp->filePath("from-ppt.pdf");
        deck->SaveCopyAs(pptx, SaveAsFileType::OpenXMLPresentation);
        deck->SaveCopyAs(odp, SaveAsFileType::OpenDocumentPresentation);
        deck->SaveCopyAs(pdf, SaveAsFileType::PDF);
        deck->Close();
        const auto reopened = app->Presentations().OpenWithoutWindow(target);
        reopened->SaveCopyAs(fromPpt, SaveAsFileType::PDF);
        reopened->Close();
        app->Quit();

        const QString slides = unzipped(pptx, "ppt/slides/slide*.xml");
        QVERIFY(slides.count("<a:tbl>") >= 3);
        for (const char* cell : {"Acme Greens", "three days", "M01", "M40", "-400"})
            QVERIFY2(slides.contains(cell), cell);
        QVERIFY(!slides.contains("Table:") && !slides.contains("|---"));
        const QString content = unzipped(odp, "content.xml");
        QVERIFY2(content.count("<table:table") >= 3, qPrintable(content.mid(content.indexOf("table:"), 300)));

        for (const QString& file : {pdf, fromPpt}) {
            const QList<Page> pages = pagesOf(file);
            // The grid after the competition's text slide, the hiring
            // table after the Financial Plan's, on slides of their own.
            QStringList titles;
            int headers = 0;
            for (const Page& page : pages) {
                const QString text = page.text();
                QVERIFY2(!text.contains("Table:") && !text.contains("|---"), qPrintable(text));
                if (text.contains("Month Hires Cost") || text.contains("Month Hires"))
                    ++headers;
                for (const Word& word : page.words)
                    if (word.text == "M01" || word.text == "Leafy" || word.text == "M40")
                        QVERIFY2(
                            word.box.height() / 1.3 >= 17.5,
                            qPrintable(
                                QString("%1 at %2 pt in %3").arg(word.text).arg(word.box.height() / 1.3).arg(file)));
            }
            QVERIFY2(headers >= 3, qPrintable(QString("%1: the hiring header on %2 slides").arg(file).arg(headers)));
            const QString all = [&] {
                QStringList texts;
                for (const Page& page : pages)
                    texts << page.text();
                return texts.join('\n');
            }();
            for (const char* shown :
                 {"Financial Plan: Hiring (1/", "Financial Plan: Hiring (2/", "M01", "M40", "Acme Greens"})
                QVERIFY2(all.contains(shown), qPrintable(QString("%1: %2").arg(file, shown)));
        }
        QProcess info;
        info.start("pdfinfo", {"-struct", pdf});
        QVERIFY(info.waitForFinished(20000));
        const QString structure = QString::fromUtf8(info.readAllStandardOutput());
        for (const QString element : {"Table", "TR", "TH", "TD"})
            QVERIFY2(
                structure.contains(QRegularExpression("^\\s*" + element + "\\b", QRegularExpression::MultilineOption)),
                qPrintable(element + "\n" + structure.left(3000)));
    }

    // A column chart and a line chart in the Financial Plan, each on a slide
    // of its own after the section's, as the engine's own chart object in
    // the .ppt, in every copy and drawn in the PDF; their lines are no
    // slide text.
    void chartsAreNativeInEveryFormat()
    {
        mStore->saveSetting("SecondStatement_1",
                            "Revenue grows fourfold\r\n"
                            "Chart: Revenue and costs, EUR thousands\r\n"
                            "Year: 2027, 2028, 2029, 2030\r\n"
                            "Revenue: €120, 480, 1 200, 2 600\r\n"
                            "Costs: 300, 450, 800, 1 400\r\n"
                            "\r\n"
                            "Chart (line): Customers\r\n"
                            "Year: 2027, 2028, 2029, 2030\r\n"
                            "Customers: 3, 12, 40, 95");
        mStore->saveSetting("Spelling Language", "nb_NO");
        const QString target = mTemp->filePath("ps66666666.ppt");
        generate(target, "Fjordlight AS");
        QVERIFY2(mDialogs.errorReports.isEmpty(), qPrintable(mDialogs.errorReports.join("\n")));

        UnoEngine engine = mEngine.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(target);
        QCOMPARE(shapeText(*app, *deck, 9, "Rectangle 3"), QString("Revenue grows fourfold\r\n"));
        QCOMPARE(shapeText(*app, *deck, 10, "Rectangle 2"),
                 QString("Financial Plan: Revenue and costs, EUR thousands"));
        QCOMPARE(shapeText(*app, *deck, 11, "Rectangle 2"), QString("Financial Plan: Customers"));
        QCOMPARE(shapeText(*app, *deck, 12, "Rectangle 2"), QString("Resource Requirements"));
        const QString pptx = mTemp->filePath("copy.pptx"), odp = mTemp->filePath("copy.odp"),
                      pdf = mTemp->filePath("copy.pdf");
        deck->SaveCopyAs(pptx, SaveAsFileType::OpenXMLPresentation);
        deck->SaveCopyAs(odp, SaveAsFileType::OpenDocumentPresentation);
        deck->SaveCopyAs(pdf, SaveAsFileType::PDF);
        app->Quit();

        // The .pptx holds a chart part for each, with the typed numbers.
        const QString charts = unzipped(pptx, "ppt/charts/chart*.xml");
        for (const char* typed :
             {"<c:barChart>", "<c:lineChart>", "2027", "2030", "Costs", "2600", "1400", "95", "€#,##0"})
            QVERIFY2(charts.contains(typed), typed);
        QVERIFY(!unzipped(pptx, "ppt/slides/slide*.xml").contains("Year:"));
        // The .odp holds chart objects whose tables keep the numbers.
        const QString objects = unzipped(odp, "Object*/content.xml");
        for (const char* typed : {"chart:class=\"chart:bar\"", "chart:class=\"chart:line\"", "2600", "Customers"})
            QVERIFY2(objects.contains(typed), typed);
        // The PDF draws the charts, their categories and legends as text.
        const QList<Page> pages = pagesOf(pdf);
        QCOMPARE(pages.size(), 14);
        for (const char* shown : {"2027", "2030", "Revenue", "Costs", "10 / 14"})
            QVERIFY2(pages.at(9).text().contains(shown), qPrintable(pages.at(9).text()));
        QVERIFY2(pages.at(10).text().contains("11 / 14"), qPrintable(pages.at(10).text()));
        for (const Page& page : pages)
            QVERIFY2(!page.text().contains("Year:") && !page.text().contains("Chart"), qPrintable(page.text()));
        // Tagged for screen readers, titled with the plan's title, a heading
        // a slide: the company name on the first.
        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(20000));
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(
            said.contains(QRegularExpression("Tagged: +yes")) && said.contains(QRegularExpression("Title: +Plan 2027")),
            qPrintable(said));
        info.start("pdfinfo", {"-struct-text", pdf});
        QVERIFY(info.waitForFinished(20000));
        const QString structure = QString::fromUtf8(info.readAllStandardOutput());
        const QRegularExpression heading("^H ", QRegularExpression::MultilineOption);
        QCOMPARE(structure.count(heading), 14);
        const qsizetype titleSlideHeading = structure.indexOf(heading);
        QCOMPARE(structure.indexOf('"', titleSlideHeading), structure.indexOf("\"Fjordlight AS\"", titleSlideHeading));
        QVERIFY(structure.contains("\"Financial Plan: Customers\""));
        // Every drawing is one figure described in each copy, and the PDF
        // speaks the plan's language, though the deck's own format (the
        // .ppt opened here) keeps neither; the .odp describes the charts too
        // (the engine writes no chart's description into a .pptx or PDF).
        const PdfAccessibility read = accessibilityOf(pdf);
        QCOMPARE(read.language, QString("nb-NO"));
        QCOMPARE(read.alternativeTexts.size(), 11);
        const QString slides = unzipped(pptx, "ppt/slides/slide*.xml");
        const QString content = unzipped(odp, "content.xml");
        for (const QString drawing : {"A flag on a pole", "Three people side by side"}) {
            QVERIFY2(read.alternativeTexts.contains(drawing), qPrintable(read.alternativeTexts.join('\n')));
            QVERIFY2(slides.contains("descr=\"" + drawing + "\""), qPrintable(drawing));
        }
        for (const QString described :
             {"A flag on a pole", "Column chart: Revenue and costs, EUR thousands, 2027 to 2030",
              "Line chart: Customers, 2027 to 2030"})
            QVERIFY2(content.contains("<svg:desc>" + described + "</svg:desc>"), qPrintable(described));
    }
};

QTEST_MAIN(DeckGenerationEngineTest)
#include "test_deck_generation_engine.moc"
