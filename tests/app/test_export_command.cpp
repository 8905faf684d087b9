// "orvendale --export": the deck made from a plan file with no display, in
// each format; a damaged plan file told with exit 1; an interrupt leaves
// no engine and no file behind. "orvendale --import": a plan file made
// from a business plan document, which an export also takes.
#include "engine/uno/uno_engine.h"
#include "plan/plan_file.h"
#include "plan/plan_keys.h"
#include "tests/support/chart_plan.h"
#include "tests/support/deck_text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/pdf_words.h"
#include "tests/support/private_engine.h"
#include "tests/support/written_documents.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>

class ExportCommandTest : public QObject {
    Q_OBJECT

private:
    // For the engine that reads the decks back; the exports see no display.
    PrivateDisplay mDisplay;
    QTemporaryDir mFolder;
    QProcess mProgram;

    QString path(const QString& name) const { return mFolder.filePath(name); }

    // The program with a home and temporary folder of its own and no display.
    void startExport(const QStringList& arguments) { startExport(mProgram, arguments); }
    void startExport(QProcess& program, const QStringList& arguments)
    {
        startProgram(program, QStringList{"--export"} + arguments);
    }

    void startProgram(QProcess& program, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            environment.remove(name);
        QDir().mkpath(path("home"));
        QDir().mkpath(path("tmp"));
        environment.insert("HOME", path("home"));
        environment.insert("TEMP", path("tmp"));
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationDirPath() + "/../program/orvendale", arguments);
        QVERIFY(program.waitForStarted());
    }

    // The engines of this test's exports: each runs on a pipe named after
    // its export's process.
    // The members of a zipped deck, one after the other.
    static QByteArray unzipped(const QString& deck, const QString& members)
    {
        QProcess unzip;
        unzip.start("unzip", {"-p", deck, members});
        unzip.waitForFinished(20000);
        return unzip.readAllStandardOutput();
    }

    // Each slide of an .odp deck as its frames in drawing order: what each
    // holds ("title", "outline", "chart", "drawing") and where it lies.
    static QList<QStringList> framesOf(const QString& deck)
    {
        QXmlStreamReader content(unzipped(deck, "content.xml"));
        QList<QStringList> slides;
        while (!content.atEnd()) {
            if (content.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QStringView name = content.name();
            const QXmlStreamAttributes attributes = content.attributes();
            if (name == u"page" && content.namespaceUri().endsWith(u"drawing:1.0"))
                slides.append(QStringList());
            else if (name == u"notes")
                content.skipCurrentElement();
            else if (name == u"frame" && !slides.isEmpty()) {
                const QString kind = attributes.value("presentation:class").toString();
                slides.last() << kind + "@" + attributes.value("svg:x").toString() + ","
                                     + attributes.value("svg:y").toString();
            } else if (name == u"object" && !slides.isEmpty())
                slides.last().last().prepend("chart");
            else if (name == u"image" && !slides.isEmpty() && !slides.last().last().startsWith("chart"))
                slides.last().last().prepend("drawing");
        }
        return slides;
    }

    static QList<qint64> exportEngines()
    {
        QList<qint64> engines;
        for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
            QFile commandLine("/proc/" + entry + "/cmdline");
            if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains("orvendale-export-"))
                engines << entry.toLongLong();
        }
        return engines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        PlanFile::Texts plan;
        for (const QString& key : PlanFile::keys())
            plan.insert(key, QString());
        plan[PlanKeys::companyName] = "Fjordlight AS";
        plan[PlanKeys::planTitle] = "Light for the fjords";
        plan["FirstStatement_0"] = "Bring light to every fjord village";
        plan["SecondStatement_1"] = "Revenue grows\r\nChart: Revenue\r\nYear: 2027, 2028\r\nRevenue: 120, 480";
        PlanFile::write(path("plan.orvendale"), plan);
    }

    void cleanup()
    {
        if (mProgram.state() != QProcess::NotRunning) {
            mProgram.kill();
            mProgram.waitForFinished();
        }
    }

    void thePlanBecomesADeckInEachFormat_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"deck.pdf", "deck.pptx", "deck.odp", "deck.ppt"})
            QTest::newRow(name) << name;
    }

    void thePlanBecomesADeckInEachFormat()
    {
        QFETCH(QString, name);
        startExport({path(name), path("plan.orvendale")});
        QVERIFY(mProgram.waitForFinished(120000));
        const QString printed = QString::fromLocal8Bit(mProgram.readAllStandardOutput());
        QVERIFY2(mProgram.exitCode() == 0, qPrintable(mProgram.readAllStandardError()));
        QVERIFY2(printed.contains("slide 2: Mission Statement") && printed.contains("slide 10: Financial Plan: Revenue")
                     && printed.contains("slide 13: Key Issues"),
                 qPrintable(printed));
        // The deck, as a PDF for every format, holds the plan's texts on
        // their slides.
        QString pdf = path(name);
        if (!name.endsWith(".pdf")) {
            PrivateEngine reader;
            UnoEngine engine = reader.engine();
            const auto app = engine.CreateObject();
            const auto deck = app->Presentations().OpenWithoutWindow(path(name));
            pdf = path(name + ".pdf");
            deck->SaveCopyAs(pdf, SaveAsFileType::PDF);
            app->Quit();
            QVERIFY(reader.waitUntilEnded(15000));
        }
        const QList<Page> pages = pagesOf(pdf);
        QCOMPARE(pages.size(), 13);
        QVERIFY(pages.at(0).text().contains("Fjordlight AS"));
        QVERIFY(pages.at(1).text().contains("Bring light to every fjord village"));
        QVERIFY(pages.at(9).text().contains("2028"));
        QVERIFY(exportEngines().isEmpty());
        QVERIFY(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        // Nor the record of its working files in the data folder.
        QVERIFY(QDir(path("home/.local/share/Kervanel/Orvendale/temporary-files")).entryList({"*.list"}).isEmpty());
    }

    // The window hands its own plan over on standard input ("-"), with the
    // logo it carries: this account has no copy of it, and needs none.
    void thePlanComesOnStandardInputWithItsLogo()
    {
        QImage logo(120, 60, QImage::Format_ARGB32);
        logo.fill(QColor("#C0392B"));
        QByteArray picture;
        QBuffer buffer(&picture);
        logo.save(&buffer, "PNG");
        PlanFile::Texts plan = PlanFile::read(path("plan.orvendale"));
        plan.insert(PlanKeys::logo, "0123456789abcdef01234567.png");
        startExport({path("piped.pdf"), "-"});
        mProgram.write(PlanFile::toBytes(plan, {}, picture));
        mProgram.closeWriteChannel();
        QVERIFY(mProgram.waitForFinished(120000));
        const QString printed = QString::fromLocal8Bit(mProgram.readAllStandardOutput());
        QVERIFY2(mProgram.exitCode() == 0, qPrintable(mProgram.readAllStandardError()));
        QVERIFY2(!printed.contains("logo"), qPrintable(printed));
        QVERIFY(pagesOf(path("piped.pdf")).at(1).text().contains("Bring light to every fjord village"));
    }

    // Every chart slide holds its title and exactly one chart, where the
    // section's text and drawing were, in the deck's text colour; in every
    // deck of several made in a row (the engine once handed over shapes
    // cut off from their slide now and then, leaving the text under a chart
    // at the slide's corner).
    void everyChartTakesTheBodysPlaceInEveryDeck()
    {
        PlanFile::Texts plan = PlanFile::read(path("plan.orvendale"));
        plan["SecondStatement_4"] = kFourChartsSection;
        PlanFile::write(path("charts.orvendale"), plan);
        for (int deck = 1; deck <= 4; ++deck) {
            startExport({path("charts.odp"), path("charts.orvendale")});
            QVERIFY(mProgram.waitForFinished(120000));
            QVERIFY2(mProgram.exitCode() == 0, qPrintable(mProgram.readAllStandardError()));
            const QList<QStringList> slides = framesOf(path("charts.odp"));
            QCOMPARE(slides.size(), 17);
            const QString body = slides.at(12).at(1);
            QVERIFY2(body.startsWith("outline@"), qPrintable(body));
            for (int chart = 13; chart <= 16; ++chart) {
                const QStringList frames = slides.at(chart);
                QCOMPARE(frames.size(), 2);
                QVERIFY2(frames.first().startsWith("title@"), qPrintable(frames.join(' ')));
                QCOMPARE(frames.last(), "chart" + body.sliced(body.indexOf('@')));
            }
            const QByteArray charts = unzipped(path("charts.odp"), "Object */content.xml");
            QCOMPARE(charts.count("<office:chart>"), 5);
            QVERIFY(!charts.contains("fo:color=\"#000000\""));
        }
    }

    // Two exports at once in one home each make their deck, on an engine
    // profile of their own.
    void twoExportsAtOnceBothMakeTheirDecks()
    {
        QProcess second;
        startExport({path("first.pdf"), path("plan.orvendale")});
        startExport(second, {path("second.pptx"), path("plan.orvendale")});
        QVERIFY(mProgram.waitForFinished(120000) && second.waitForFinished(120000));
        QVERIFY2(mProgram.exitCode() == 0, qPrintable(mProgram.readAllStandardError()));
        QVERIFY2(second.exitCode() == 0, qPrintable(second.readAllStandardError()));
        QVERIFY(pagesOf(path("first.pdf")).at(1).text().contains("Bring light to every fjord village"));
        QVERIFY(QFileInfo(path("second.pptx")).size() > 0);
    }

    // What the export refuses before it starts an engine, with its exit
    // code, leaving every file as it was: a plan that cannot be read (1), a
    // store that is damaged (1; the window sets it aside, not an export),
    // and a deck's name that is the plan itself, through a link too, or
    // the store (3).
    void whatIsRefusedIsLeftAsItWas_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        const QByteArray damaged = "{\"format\": \"Orvendale plan\", \"version\": 1, \"plan\": [";
        writeFile(path("damaged.orvendale"), damaged);
        writeFile(path("plan-named.pdf"), readFile(path("plan.orvendale")));
        QFile::link(path("plan.orvendale"), path("linked.pdf"));
        QFile::link(path("home/.config/Kervanel.json"), path("store.pdf"));
        const QByteArray store = "{\"Orvendale\": {\"Company Name\": \"Kept\"}}";
        // clang-format off
        QTest::newRow("a damaged plan") << QStringList{"never.pdf", "damaged.orvendale"} << store << 1 << "damaged.orvendale\" cannot be opened as a plan";
        QTest::newRow("a device for a plan") << QStringList{"never.pdf", "/dev/zero"} << store << 1 << "a device, a pipe or a socket";
        QTest::newRow("a damaged store") << QStringList{"never.pdf"} << QByteArray("{\"Orvendale\": {") << 1 << "is damaged. It is left as it is";
        QTest::newRow("the plan itself") << QStringList{"plan-named.pdf", "plan-named.pdf"} << store << 3 << "is the plan file itself";
        QTest::newRow("a link to the plan") << QStringList{"linked.pdf", "plan.orvendale"} << store << 3 << "is the plan file itself";
        QTest::newRow("the store") << QStringList{"store.pdf"} << store << 3 << "Orvendale's store of your plan";
        // clang-format on
        // Through links, so that a refusal that fails replaces the link.
        const QString data = path("home/.local/share/Kervanel/Orvendale");
        QDir().mkpath(data + "/logos");
        QDir().mkpath(data + "/snapshots");
        writeFile(data + "/logos/0123456789abcdef01234567.png", "a logo");
        writeFile(data + "/snapshots/20261209-120000-000-0-deck.orvendale", readFile(path("plan.orvendale")));
        QFile::link(data + "/logos/0123456789abcdef01234567.png", path("logo.pdf"));
        QFile::link(data + "/snapshots/20261209-120000-000-0-deck.orvendale", path("snapshot.pdf"));
        QFile::link(QCoreApplication::applicationDirPath() + "/../program/business_plan.ppt", path("template.ppt"));
        QTest::newRow("a logo's copy") << QStringList{"logo.pdf"} << store << 3 << "is a logo's copy";
        QTest::newRow("a snapshot") << QStringList{"snapshot.pdf"} << store << 3 << "is a snapshot of your plan";
        QTest::newRow("a template deck") << QStringList{"template.ppt"} << store << 3 << "is a template deck";
    }

    void whatIsRefusedIsLeftAsItWas()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, store);
        QFETCH(int, code);
        QFETCH(QString, said);
        QDir().mkpath(path("home/.config"));
        writeFile(path("home/.config/Kervanel.json"), store);
        QStringList files;
        for (const QString& argument : arguments)
            files << (argument.startsWith('/') ? argument : path(argument));
        QList<QByteArray> before;
        for (const QString& file : files)
            before << (file.startsWith("/dev") ? QByteArray() : readFile(file));
        startExport(files);
        QVERIFY(mProgram.waitForFinished(30000));
        const QString told = QString::fromLocal8Bit(mProgram.readAllStandardError());
        QCOMPARE(mProgram.exitCode(), code);
        QVERIFY2(told.contains(said), qPrintable(told));
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(files.at(i).startsWith("/dev") ? QByteArray() : readFile(files.at(i)), before.at(i));
        QCOMPARE(readFile(path("home/.config/Kervanel.json")), store);
        QCOMPARE(QDir(path("home/.config")).entryList(QDir::Files), QStringList{"Kervanel.json"});
        QVERIFY(!QFile::exists(path("never.pdf")));
        QFile::remove(path("home/.config/Kervanel.json"));
    }

    // An export killed outright leaves its working folder (the deck, the
    // plan's texts): the next export removes it.
    void whatAKilledExportLeftGoesWithTheNext()
    {
        const QString left = path("tmp/orvendale-export-Ab12Cd");
        QVERIFY(QDir().mkpath(left));
        writeFile(left + "/ps00000000.ppt", "a deck of the plan");
        const QString records = path("home/.local/share/Kervanel/Orvendale/temporary-files");
        QVERIFY(QDir().mkpath(records));
        writeFile(records + "/999999-0badc0de.list", left.toUtf8());
        startExport({path("never.pdf"), path("damaged.orvendale")});
        QVERIFY(mProgram.waitForFinished(30000));
        QCOMPARE(mProgram.exitCode(), 1);
        QVERIFY(!QFileInfo::exists(left));
        QVERIFY(QDir(records).entryList({"*.list"}).isEmpty());
    }

    // Ctrl+C, or the end of a session, while the engine starts (held still
    // here, so the start cannot end by itself) or fills the deck: the
    // export ends within a second with 128 and the signal's number, its
    // engine with it, and neither the deck nor a working file is left. An
    // engine that dies leaves no deck either, whatever it had filled: the
    // export fails (2).
    void anInterruptOrADeadEngineLeavesNothingBehind_data()
    {
        QTest::addColumn<bool>("duringStart");
        QTest::addColumn<bool>("engineDies");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("code");
        QTest::newRow("Ctrl+C in the engine's start") << true << false << int(SIGINT) << 130;
        QTest::newRow("Ctrl+C") << false << false << int(SIGINT) << 130;
        QTest::newRow("ended") << false << false << int(SIGTERM) << 143;
        QTest::newRow("the engine killed") << false << true << int(SIGKILL) << 2;
    }

    void anInterruptOrADeadEngineLeavesNothingBehind()
    {
        QFETCH(bool, duringStart);
        QFETCH(bool, engineDies);
        QFETCH(int, signal);
        QFETCH(int, code);
        // The deck's own format: the working deck itself would be the copy.
        startExport({path("cut.ppt"), path("plan.orvendale")});
        const QDir work(path("tmp"));
        // The engine fills the deck once the template is in the working folder.
        const auto deckBegun = [&] {
            const QStringList folders = work.entryList({"orvendale-export-*"}, QDir::Dirs);
            return !folders.isEmpty() && !QDir(work.filePath(folders.first())).entryList({"ps*.ppt"}).isEmpty();
        };
        QElapsedTimer timer;
        timer.start();
        while ((exportEngines().isEmpty() || (!duringStart && !deckBegun())) && timer.elapsed() < 60000)
            QThread::msleep(2);
        QVERIFY(!exportEngines().isEmpty());
        if (duringStart)
            ::kill(static_cast<pid_t>(exportEngines().first()), SIGSTOP);
        ::kill(static_cast<pid_t>(engineDies ? exportEngines().first() : mProgram.processId()), signal);
        timer.restart();
        QVERIFY(mProgram.waitForFinished(20000));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(mProgram.exitCode(), code);
        QTRY_VERIFY_WITH_TIMEOUT(exportEngines().isEmpty(), 10000);
        QVERIFY(!QFile::exists(path("cut.ppt")));
        QVERIFY(work.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    // A document becomes a plan file, which an import never writes over,
    // and a deck: each paragraph's first sentence on its slide. Where each
    // heading went is printed, for the export on standard error.
    void aDocumentBecomesAPlanFileAndADeck()
    {
        const QString paragraph =
            "Ada Berg leads the company. She built two farms before and sold both of them "
            "to larger growers, and she knows what restaurants ask of a supplier every week.";
        {
            PrivateEngine writer;
            writeDocument(writer.settings(),
                          "<html><body><p>Fjordlight AS</p><h1>Executive Summary</h1><p>We grow greens.</p>"
                          "<h1>Management Team</h1><p>"
                              + paragraph + "</p></body></html>",
                          path("business-plan.docx"));
            QVERIFY(writer.waitUntilEnded(15000));
        }
        startProgram(mProgram, {"--import", path("business-plan.docx"), path("imported.orvendale")});
        QVERIFY(mProgram.waitForFinished(120000));
        QVERIFY2(mProgram.exitCode() == 0, qPrintable(mProgram.readAllStandardError()));
        QCOMPARE(QString::fromLocal8Bit(mProgram.readAllStandardOutput()).split('\n').mid(0, 3),
                 QStringList({"(before the first heading): left out", "Executive Summary: left out",
                              "Management Team: The Team"}));
        const PlanFile::Texts plan = PlanFile::read(path("imported.orvendale"));
        QCOMPARE(plan.value(PlanKeys::companyName), QString("Fjordlight AS"));
        QCOMPARE(plan.value("FirstStatement_1"), "Ada Berg leads the company.\r\nNotes: " + paragraph);

        writeFile(path("imported.orvendale"), "typed since");
        startProgram(mProgram, {"--import", path("business-plan.docx"), path("imported.orvendale")});
        QVERIFY(mProgram.waitForFinished(120000));
        QCOMPARE(mProgram.exitCode(), 3);
        QCOMPARE(readFile(path("imported.orvendale")), QByteArray("typed since"));

        startExport({path("imported.pdf"), path("business-plan.docx")});
        QVERIFY(mProgram.waitForFinished(120000));
        const QString told = QString::fromLocal8Bit(mProgram.readAllStandardError());
        QVERIFY2(mProgram.exitCode() == 0, qPrintable(told));
        QVERIFY2(told.contains("orvendale: Management Team: The Team\n"), qPrintable(told));
        const QList<Page> pages = pagesOf(path("imported.pdf"));
        QVERIFY(pages.at(2).text().contains("Ada Berg leads the company."));
        QVERIFY(!pages.at(2).text().contains("She built"));
        QVERIFY(exportEngines().isEmpty());
        QVERIFY(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    // What the plan's notes say goes to standard error, one plain line
    // each; standard output holds the slides alone. The plan the program
    // keeps, when empty, is told as such.
    void notesArePlainLinesOnStandardError()
    {
        PlanFile::Texts plan = PlanFile::read(path("plan.orvendale"));
        plan["SecondStatement_1"] = "Chart: Revenue\r\nYear: 2027, 2028\r\nRevenue: 12x, 480";
        PlanFile::write(path("notes.orvendale"), plan);
        startExport({path("notes.pdf"), path("notes.orvendale")});
        QVERIFY(mProgram.waitForFinished(120000));
        QCOMPARE(mProgram.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(mProgram.readAllStandardError()),
                 QString("orvendale: Some of the plan's chart numbers could not be read and are left out of their "
                         "charts (Financial Plan, row \"Revenue\": \"12x\"). Write them as numbers, such as 1200, "
                         "1.5M or €120k, to chart them.\n"));
        const QStringList printed =
            QString::fromLocal8Bit(mProgram.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), 13);
        QVERIFY(printed.filter(QRegularExpression("^slide \\d+: ")).size() == 13);

        startExport({path("empty.pdf")});
        QVERIFY(mProgram.waitForFinished(120000));
        QCOMPARE(mProgram.exitCode(), 0);
        // Only a deck without a chart claims to be accessible throughout:
        // the engine describes no chart's figure.
        QVERIFY(readFile(path("empty.pdf")).contains("<pdfuaid:part>1</pdfuaid:part>"));
        QVERIFY(!readFile(path("notes.pdf")).contains("pdfuaid"));
        QCOMPARE(QString::fromLocal8Bit(mProgram.readAllStandardError()),
                 QString("orvendale: The plan Orvendale keeps is empty, so the deck holds only the sections' titles: "
                         "name a plan file to export, or type the plan in the window.\n"));
    }
};

QTEST_MAIN(ExportCommandTest)
#include "test_export_command.moc"
