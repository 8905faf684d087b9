// The engine layer against a real, private LibreOffice Impress instance.
#include "engine/port/presentation_engine.h"
#include "engine/uno/call_watchdog.h"
#include "engine/uno/engine_process.h"
#include "engine/uno/uno_engine.h"
#include "platform/x11_window_system.h"
#include "shell/failure.h"
#include "tests/support/deck_text.h"
#include "tests/support/pdf_words.h"
#include "tests/support/private_engine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

QString copyOfTemplate(const QTemporaryDir& folder, const QString& name = "deck.ppt")
{
    return copyOfTemplateDeck(folder.filePath(name));
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeAll(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

}  // namespace

class UnoEngineTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    PrivateEngine mEngine;
    QTemporaryDir mFolder;
    X11WindowSystem mWindows;
    UnoEngine engine() { return mEngine.engine(); }

    // An engine on a profile of its own whose program never answers, with
    // its temporary folders in mFolder.
    EngineSettings hangingEngine(const QString& name, int startTimeoutMs)
    {
        qputenv("TEMP", mFolder.path().toLocal8Bit());
        EngineSettings hanging = mEngine.withStandInProgram(name, "exec sleep 600");
        hanging.startTimeoutMs = startTimeoutMs;
        return hanging;
    }

    bool engineFoldersLeft() const
    {
        return !QDir(mFolder.path()).entryList({"orvendale-engine-*"}, QDir::Dirs).isEmpty();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        // The bridge's environment is set as the program is loaded, not by
        // the first connection, which may be made on a spare's thread while
        // other threads read the environment.
        QVERIFY(qEnvironmentVariableIsSet("URE_BOOTSTRAP"));
    }
    void cleanup() { mEngine.kill(); }

    void createStartsOrConnectsAttachNeedsARunningOneQuitEndsIt()
    {
        UnoEngine layer = engine();
        try {
            layer.GetObject();
            QFAIL("attaching should fail while nothing runs");
        } catch (const Failure& failure) {
            QVERIFY(failure.description().contains("not running"));
        }

        const auto a = layer.CreateObject();
        const qint64 pid = mEngine.pid();
        QVERIFY(processAlive(pid));

        const auto b = layer.GetObject();
        QCOMPARE(b->Name(), QString("LibreOffice Impress"));
        QCOMPARE(mEngine.engine().CreateObject()->Name(), QString("LibreOffice Impress"));
        QCOMPARE(mEngine.pid(), pid);

        // Deck generation quits through both references, one after the other.
        b->Quit();
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(pid), 15000);
        a->Quit();
        QVERIFY_THROWS_EXCEPTION(Failure, layer.GetObject());
    }

    void anIdleInstanceEndsWhenReleasedOneHoldingADeckStays()
    {
        UnoEngine layer = engine();
        qint64 idle = 0;
        {
            const auto app = layer.CreateObject();
            idle = mEngine.pid();
            QVERIFY(processAlive(idle));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(idle), 15000);

        const QString path = copyOfTemplate(mFolder);
        {
            const auto app = layer.CreateObject();
            app->Presentations().OpenWithoutWindow(path);
        }
        const qint64 holding = mEngine.pid();
        QVERIFY(processAlive(holding));
        const auto again = layer.GetObject();
        QCOMPARE(again->Presentations().Count(), 1);
        again->Quit();
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(holding), 15000);
    }

    void filledDeckIsSavedAsPptAndReadsBackParagraphByParagraph()
    {
        const QString path = copyOfTemplate(mFolder);
        UnoEngine layer = engine();
        {
            const auto app = layer.CreateObject();
            app->setVisible(true);
            const auto deck = app->Presentations().Open(path);
            QCOMPARE(app->Presentations().Count(), 1);
            writeShape(*app, *deck, 1, "Rectangle 2", "Acme & Söhne");
            writeShape(*app, *deck, 1, "Rectangle 3", "Plan 2027");
            writeShape(*app, *deck, 2, "Rectangle 3", "Heading\r\nMine\r\n");
            writeShape(*app, *deck, 7, "Rectangle 3", QString::fromUtf8("Grüße 中文 😀\r\n\r\nlast line"));
            writeShape(*app, *deck, 12, "Rectangle 3", "");
            deck->Slides(1).Select();
            deck->Save();
            deck->Close();
            QCOMPARE(app->Presentations().Count(), 0);
            app->Quit();
        }

        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.read(4), QByteArray("\xD0\xCF\x11\xE0"));  // still a PowerPoint 97-2003 file

        const auto app = layer.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(path);
        QCOMPARE(shapeText(*app, *deck, 1, "Rectangle 2"), QString("Acme & Söhne"));
        QCOMPARE(shapeText(*app, *deck, 1, "Rectangle 3"), QString("Plan 2027"));
        QCOMPARE(shapeText(*app, *deck, 2, "Rectangle 3"), QString("Heading\r\nMine\r\n"));
        QCOMPARE(shapeText(*app, *deck, 2, "Rectangle 2"), QString("Mission Statement"));
        QCOMPARE(shapeText(*app, *deck, 7, "Rectangle 3"), QString::fromUtf8("Grüße 中文 😀\r\n\r\nlast line"));
        QCOMPARE(shapeText(*app, *deck, 12, "Rectangle 3"), QString());
        QCOMPARE(shapeText(*app, *deck, 8, "Rectangle 2"), QString("Goals & Objectives"));
        deck->Close();
        app->Quit();
    }

    // A table shows the header and the rows its area holds at 18 pt; one
    // too wide for that is drawn smaller, never below 12 pt. A deck holding
    // a table closes safely right after its tagged PDF is written, deck
    // after deck (with the table made beside the engine's main loop, one
    // close in three ended the engine).
    void tablesFitTheirSlideAndTheirDeckClosesRightAfterItsPdf()
    {
        UnoEngine layer = engine();
        const auto app = layer.CreateObject();
        app->setVisible(true);
        TableData competitors{{"Who", "Price", "Delivery", "Local?"}, {}, {false, true, false, false}};
        for (int row = 1; row <= 40; ++row)
            competitors.rows << QStringList{QString("Company %1").arg(row), QString::number(row * 10), "two days",
                                            "yes"};
        TableData wide{{}, {{}}, {}};
        for (int column = 1; column <= 12; ++column) {
            wide.header << QString("Heading%1withoutanybreak").arg(column);
            wide.rows[0] << QString("Cell%1 that wraps over several lines of its narrow column").arg(column);
        }
        for (int round = 1; round <= 20; ++round) {
            const QString path = copyOfTemplate(mFolder, QString("deck%1.ppt").arg(round));
            const auto deck = app->Presentations().Open(path);
            if (round == 1) {
                const TableFit tall = deck->Slides(2).AddTable(competitors);
                QVERIFY2(tall.rowsShown >= 6 && tall.rowsShown < 40, qPrintable(QString::number(tall.rowsShown)));
                QCOMPARE(tall.textSize, 18.0f);
                const TableFit narrow = deck->Slides(3).AddTable(wide);
                QCOMPARE(narrow.rowsShown, 1);
                QVERIFY2(narrow.textSize < 18 && narrow.textSize >= 12, qPrintable(QString::number(narrow.textSize)));
            } else {
                QCOMPARE(
                    deck->Slides(2).AddTable(TableData{competitors.header, competitors.rows.first(3), {}}).rowsShown,
                    3);
            }
            deck->SaveCopyAs(mFolder.filePath("deck.pdf"), SaveAsFileType::PDF);
            deck->Close();
        }
        QCOMPARE(app->Presentations().Count(), 0);
        app->Quit();
    }

    // Each format is the engine's export of the open deck: the presentation
    // formats read back with their twelve slides and texts, the PDF has a
    // page a slide. An export the engine cannot write fails with the reason.
    // A spare engine starts ahead of need on a profile of its own. Until it
    // is taken it is not the running application; the next CreateObject
    // takes it instead of starting one, GetObject then finds it, and another
    // spare starts for the call after. All end with the program.
    void aSpareIsTakenByTheNextStartAndNeverCountsAsRunning()
    {
        UnoEngine layer = engine();
        const QList<EngineSettings> spares = layer.settings().withSpareProfiles().mid(1);
        const auto sparesRunning = [&] {
            QList<qint64> running;
            for (const EngineSettings& spare : spares)
                if (processAlive(spare.recordedEnginePid()) && spare.recordedAsSpare())
                    running << spare.recordedEnginePid();
            return running;
        };
        layer.prepareSpare({});
        // From its first record on, while it still starts, it is a spare.
        QDeadlineTimer deadline(30000);
        const auto recorded = [&] {
            for (const EngineSettings& profile : spares)
                if (processAlive(profile.recordedEnginePid()))
                    return profile;
            return EngineSettings();
        };
        while (recorded().profileDir.isEmpty() && !deadline.hasExpired())
            QThread::msleep(2);
        QVERIFY(recorded().recordedAsSpare());
        // The spare once it answers.
        const auto startedSpare = [&] {
            bool settled = false;
            layer.whenSpareSettled([&](bool) { settled = true; });
            return QTest::qWaitFor([&] { return settled; }, 30000) ? sparesRunning().value(0) : 0;
        };
        const qint64 spare = startedSpare();
        QVERIFY_THROWS_EXCEPTION(Failure, layer.GetObject());

        const auto app = layer.CreateObject();
        QVERIFY(!mEngine.running());
        QCOMPARE(app->Presentations().Count(), 0);  // the spare's warm-up closed what it opened
        QCOMPARE(layer.GetObject()->Name(), QString("LibreOffice Impress"));
        QTRY_COMPARE_WITH_TIMEOUT(sparesRunning().size(), 1, 30000);
        QVERIFY(sparesRunning().first() != spare);
        QVERIFY(processAlive(spare));

        const qint64 next = sparesRunning().first();
        app->Quit();
        layer.endInstancesStartedHere();
        QVERIFY(!processAlive(spare));
        QVERIFY(!processAlive(next));

        // A spare that ended before it was taken is passed over.
        layer.prepareSpare({});
        const qint64 killed = startedSpare();
        QVERIFY(mEngine.signal(killed, SIGKILL));
        QTRY_VERIFY(!processAlive(killed));
        const auto started = layer.CreateObject();
        QCOMPARE(started->Name(), QString("LibreOffice Impress"));
        QVERIFY(mEngine.running());
        layer.endInstancesStartedHere();
    }

    // A spare that stops answering while it starts holds nothing up: the
    // next start waits for it no longer than the call deadline, kills it
    // and starts an engine as before; the program's end does not wait for
    // one either.
    void aSpareThatStopsWhileStartingIsKilledAtTheDeadline()
    {
        using namespace std::chrono_literals;
        const auto restore = qScopeGuard([] { CallWatchdog::setPeriod(CallWatchdog::kDefaultPeriod); });
        CallWatchdog::setPeriod(2s);
        UnoEngine layer = engine();
        const auto stopSpareAtItsStart = [&] {
            qint64 spare = 0;
            QDeadlineTimer deadline(30000);
            while (!spare && !deadline.hasExpired()) {
                for (const EngineSettings& profile : layer.settings().withSpareProfiles().mid(1))
                    if (processAlive(profile.recordedEnginePid()))
                        spare = profile.recordedEnginePid();
                QThread::msleep(2);
            }
            return mEngine.signal(spare, SIGSTOP) ? spare : 0;
        };

        layer.prepareSpare({});
        const qint64 stopped = stopSpareAtItsStart();
        QVERIFY(stopped);
        QElapsedTimer timer;
        timer.start();
        const auto app = layer.CreateObject();
        QCOMPARE(app->Name(), QString("LibreOffice Impress"));
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QTRY_VERIFY(!processAlive(stopped));
        app->Quit();

        layer.prepareSpare({});
        const qint64 stoppedAtTheEnd = stopSpareAtItsStart();
        QVERIFY(stoppedAtTheEnd);
        timer.restart();
        layer.endInstancesStartedHere();
        QVERIFY2(timer.elapsed() < 8000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!processAlive(stoppedAtTheEnd));
    }

    void aCopyIsSavedInEachFormat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<SaveAsFileType>("format");
        // Where the copy keeps the title slide's company name and the second
        // slide's body: the .pptx export names the shapes by their
        // placeholder role; a PDF holds words on pages.
        QTest::addColumn<QString>("titleShape");
        QTest::addColumn<QString>("bodyShape");
        // clang-format off
        QTest::newRow("pptx") << "copy.pptx" << SaveAsFileType::OpenXMLPresentation << "PlaceHolder 1" << "PlaceHolder 2";
        QTest::newRow("odp") << "copy.odp" << SaveAsFileType::OpenDocumentPresentation << "Rectangle 2" << "Rectangle 3";
        QTest::newRow("pdf") << "copy.pdf" << SaveAsFileType::PDF << QString() << QString();
        // clang-format on
    }

    void aCopyIsSavedInEachFormat()
    {
        QFETCH(QString, file);
        QFETCH(SaveAsFileType, format);
        QFETCH(QString, titleShape);
        QFETCH(QString, bodyShape);
        const auto app = engine().CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(copyOfTemplate(mFolder));
        writeShape(*app, *deck, 1, "Rectangle 2", "Fjordlight AS");
        writeShape(*app, *deck, 2, "Rectangle 3", QString("Fjords\r\nand light"));
        const QString copy = mFolder.filePath(file);
        deck->SaveCopyAs(copy, format);
        if (format == SaveAsFileType::PDF) {
            const QList<Page> pages = pagesOf(copy);
            QCOMPARE(pages.size(), 12);
            QVERIFY(pages.first().text().contains("Fjordlight AS"));
        } else {
            const auto read = app->Presentations().OpenWithoutWindow(copy);
            QCOMPARE(shapeText(*app, *read, 1, titleShape), QString("Fjordlight AS"));
            QCOMPARE(shapeText(*app, *read, 2, bodyShape), QString("Fjords\r\nand light"));
            QVERIFY(!shapeText(*app, *read, 12, bodyShape).isEmpty());
            QVERIFY_THROWS_EXCEPTION(Failure, read->Slides(13).Select());
            read->Close();
        }
        app->Quit();
    }

    void aCopyThatCannotBeWrittenNamesItsFile()
    {
        const auto app = engine().CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(copyOfTemplate(mFolder));
        QFile file(mFolder.filePath("copy.pdf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        try {
            // A file stands where the folder should be.
            deck->SaveCopyAs(mFolder.filePath("copy.pdf/inner.pdf"), SaveAsFileType::PDF);
            QFAIL("saving below a file should fail");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().contains("inner.pdf"), qPrintable(failure.description()));
        }
        app->Quit();
    }

    // The size a body's text shows at is that of the text just written, in
    // a slide just copied too, on a busy machine: the engine can still be
    // bringing the shape up to date when asked, and used to tell no shrink.
    void theShownSizeIsThatOfTheTextJustWritten()
    {
        const BusyProcessors busy;
        const auto app = engine().CreateObject();
        app->setVisible(true);
        const auto deck = app->Presentations().Open(copyOfTemplate(mFolder));
        QStringList many;
        for (int line = 1; line <= 15; ++line)
            many << QString("Line %1 of a section, long enough to take most of a row").arg(line);
        const auto shownAfterWriting = [&](int slide, const QString& text) {
            deck->Slides(slide).Select();
            deck->Slides(slide).Shapes(TextShape::Body).Select();
            app->ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
            app->ActiveWindow().Selection().TextRange().setText(text);
            return app->ActiveWindow().Selection().TextRange().ShownSize();
        };
        for (int copy = 1; copy <= 10; ++copy) {
            QCOMPARE(shownAfterWriting(4, "One line\r\nTwo lines\r\n"), 24.0f);
            deck->Slides(4).Duplicate();
            const float shrunk = shownAfterWriting(5, many.join("\r\n"));
            QVERIFY2(shrunk < 14.0f, qPrintable(QString("copy %1: %2 pt").arg(copy).arg(shrunk)));
        }
        app->Quit();
    }

    // A copy made right after the texts were written holds all of them, on
    // a busy machine too (kept busy on purpose here): a .pptx export made
    // then by an engine on a new profile used to leave out every paragraph
    // after the first (in about one round in five).
    void aCopyRightAfterTheWritesHoldsEveryParagraph()
    {
        const BusyProcessors busy;
        X11WindowSystem windows;
        const QString copy = mFolder.filePath("right-after.pptx");
        for (int round = 0; round < 10; ++round) {
            EngineSettings fresh = mEngine.settings();
            fresh.profileDir += QString::number(round);
            fresh.pipeName += QString::number(round);
            const auto endIt = qScopeGuard([&] { mEngine.signal(fresh.recordedEnginePid(), SIGKILL); });
            UnoEngine layer(windows, fresh);
            const auto app = layer.CreateObject();
            const auto deck = app->Presentations().OpenWithoutWindow(copyOfTemplate(mFolder));
            writeShape(*app, *deck, 1, "Rectangle 2", "Fjordlight AS");
            writeShape(*app, *deck, 2, "Rectangle 3", "Fjords\r\nand light");
            deck->SaveCopyAs(copy, SaveAsFileType::OpenXMLPresentation);
            app->Quit();
            QProcess unzip;
            unzip.start("unzip", {"-p", copy, "ppt/slides/slide2.xml"});
            QVERIFY(unzip.waitForFinished(20000));
            QVERIFY2(unzip.readAllStandardOutput().contains("<a:t>and light</a:t>"),
                     qPrintable(QString("round %1").arg(round)));
        }
    }

    void charactersSelectExactlyWhatIsReplacedAndLoneBreaksSplitParagraphs()
    {
        const QString path = copyOfTemplate(mFolder);
        const auto app = engine().CreateObject();
        const auto deck = app->Presentations().Open(path);
        writeShape(*app, *deck, 3, "Rectangle 3", "ab\r\ncdef");

        deck->Slides(3).Shapes("Rectangle 3").Select();
        app->ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Characters(5, 2).Select();
        QCOMPARE(app->ActiveWindow().Selection().TextRange().Text(), QString("cd"));
        app->ActiveWindow().Selection().TextRange().setText("XY\nZ");
        QCOMPARE(shapeText(*app, *deck, 3, "Rectangle 3"), QString("ab\r\nXY\r\nZef"));

        writeShape(*app, *deck, 3, "Rectangle 3", "one\rtwo\nthree");
        QCOMPARE(shapeText(*app, *deck, 3, "Rectangle 3"), QString("one\r\ntwo\r\nthree"));

        QVERIFY_THROWS_EXCEPTION(
            Failure, app->ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Characters(2, 50).Select());
        app->Quit();
    }

    void missingSlidesAndShapesAreNamedInTheFailure()
    {
        const QString path = copyOfTemplate(mFolder);
        const auto app = engine().CreateObject();
        const auto deck = app->Presentations().Open(path);
        try {
            deck->Slides(2).Shapes("Rectangle 9").Select();
            QFAIL("an unknown shape should fail");
        } catch (const Failure& failure) {
            QVERIFY(failure.description().contains("Slide 2"));
            QVERIFY(failure.description().contains("\"Rectangle 9\""));
        }
        try {
            deck->Slides(13).Select();
            QFAIL("a slide past the end should fail");
        } catch (const Failure& failure) {
            QVERIFY(failure.description().contains("no slide 13"));
        }
        QVERIFY_THROWS_EXCEPTION(Failure, app->Presentations().Open(mFolder.filePath("missing.ppt")));
        app->Quit();
    }

    void aPidFileNamingAnotherProcessIsNotTrusted()
    {
        QProcess other;
        other.start("sleep", {"60"});
        QVERIFY(other.waitForStarted());
        auto app = engine().CreateObject();
        app->setVisible(true);  // keeps the instance running when released
        const qint64 enginePid = mEngine.pid();
        app.reset();
        QFile pidFile(mEngine.settings().pidFile());
        QVERIFY(pidFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        pidFile.write(QByteArray::number(other.processId()));
        pidFile.close();

        QElapsedTimer timer;
        timer.start();
        engine().GetObject()->Quit();
        QVERIFY2(timer.elapsed() < 12000, "quitting waited without bound");
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(enginePid), 10000);
        QVERIFY(other.state() == QProcess::Running);
        // Nor does the test support signal a pid that names no engine of its
        // own: 0 would stop the whole process group running the tests.
        QVERIFY(!mEngine.signal(other.processId(), SIGSTOP));
        QVERIFY(!mEngine.signal(0, SIGSTOP));

        // Ending the engine a pid file does not name (a start that has not
        // written its engine's pid yet) touches nothing of that start.
        QVERIFY(pidFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        pidFile.close();
        EngineProcess::recorded(mEngine.settings()).endInBackground(0);
        EngineProcess::waitForAllEnding();
        QVERIFY(pidFile.exists());
        other.kill();
        other.waitForFinished();
        // The record this test wrote over is this process's still: an engine
        // started and ended here lets go of it, as the tests after need.
        engine().CreateObject()->Quit();
        EngineProcess::waitForAllEnding();
    }

    // At start, an engine whose program has ended is ended without being
    // asked anything (a stuck one too), with the decks it recorded, their
    // lock files and its temporary folder; the decks go also when the engine
    // ended with its program (its display gone). An engine whose program
    // still runs is left alone, whatever program file that copy runs from.
    void anEngineLeftBehindIsEndedWithWhatItLeftInTemp()
    {
        qputenv("TEMP", mFolder.path().toLocal8Bit());
        const QString pidFile = mEngine.settings().pidFile();
        const auto holdDeck = [&](QProcess& copy, const QString& deck) {
            copy.start(QCoreApplication::applicationDirPath() + "/engine_holder",
                       {mEngine.settings().profileDir, mEngine.settings().pipeName, deck});
            return copy.waitForReadyRead(30000) && copy.readLine().trimmed() == "ready";
        };
        const auto lockFileOf = [&](const QString& deck) {
            const QString lock = mFolder.filePath(".~lock." + QFileInfo(deck).fileName() + "#");
            writeAll(lock, "engine");
            return lock;
        };

        QProcess copy;
        const QString deck = copyOfTemplate(mFolder, "ps12345678.ppt");
        QVERIFY(holdDeck(copy, deck));
        const QString deckLock = lockFileOf(deck);
        const qint64 enginePid = mEngine.pid();
        const QStringList record = readAll(pidFile).split('\n');  // engine, owner, temporary folder, spare, decks
        QCOMPARE(record.mid(4), QStringList({deck}));
        const QString engineTemp = record[2];
        QVERIFY2(QFileInfo(engineTemp).isDir() && engineTemp.startsWith(mFolder.path()), qPrintable(engineTemp));
        engine().endInstanceLeftBehind();
        QVERIFY(processAlive(enginePid));
        QVERIFY(QFile::exists(deck));

        QVERIFY(mEngine.signal(enginePid, SIGSTOP));
        copy.kill();
        copy.waitForFinished();
        QElapsedTimer timer;
        timer.start();
        engine().endInstanceLeftBehind();
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!processAlive(enginePid));
        for (const QString& left : {deck, deckLock, engineTemp, pidFile})
            QVERIFY2(!QFileInfo::exists(left), qPrintable(left));

        QProcess gone;
        const QString goneDeck = copyOfTemplate(mFolder, "ps87654321.ppt");
        QVERIFY(holdDeck(gone, goneDeck));
        const QString goneLock = lockFileOf(goneDeck);
        const qint64 goneEngine = mEngine.pid();
        gone.kill();
        gone.waitForFinished();
        QVERIFY(mEngine.signal(goneEngine, SIGKILL));
        QVERIFY(mEngine.waitUntilEnded(5000));
        engine().endInstanceLeftBehind();
        for (const QString& left : {goneDeck, goneLock, pidFile})
            QVERIFY2(!QFileInfo::exists(left), qPrintable(left));
    }

    // An engine that hangs as it starts is given the call deadline for its
    // whole start, then ended; the next start on the profile fails at once
    // with the same words, and nothing of either is left.
    void anEngineThatHangsAtStartFailsOnceWithinItsDeadline()
    {
        const EngineSettings hanging = hangingEngine("hangs", 2000);
        UnoEngine layer(mWindows, hanging);

        QElapsedTimer timer;
        timer.start();
        QString first;
        try {
            layer.CreateObject();
            QFAIL("an engine that never answers was reached");
        } catch (const EngineUnavailable& failure) {
            first = failure.description();
        }
        QVERIFY2(first.contains("did not answer within 2 seconds"), qPrintable(first));
        QVERIFY2(timer.elapsed() < 4000, qPrintable(QString::number(timer.elapsed())));
        timer.restart();
        QVERIFY_THROWS_EXCEPTION(EngineUnavailable, layer.CreateObject());
        QVERIFY(timer.elapsed() < 500);
        QVERIFY(!processAlive(hanging.recordedEnginePid()));
        QVERIFY(!QFile::exists(hanging.pidFile()));
        QVERIFY(!engineFoldersLeft());
    }

    // A start that cannot hold the lock on its engine's record fails, rather
    // than run an engine the next copy of the program would end as left
    // behind; it starts nothing.
    void aStartWithoutItsOwnerLockFails()
    {
        const EngineSettings locked = hangingEngine("locked", 60000);
        QDir().mkpath(locked.profileDir);
        const int held = ::open(QFile::encodeName(locked.pidFile()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);
        const auto release = qScopeGuard([&] { ::close(held); });
        UnoEngine layer(mWindows, locked);
        try {
            layer.CreateObject();
            QFAIL("an engine started without its lock");
        } catch (const EngineUnavailable& failure) {
            QVERIFY2(failure.description().contains("is held by another program"), qPrintable(failure.description()));
        }
        QCOMPARE(locked.recordedEnginePid(), 0);
        QVERIFY(!engineFoldersLeft());
    }

    // A spare that does not answer within the start's deadline is told as
    // too slow, not as missing, and a command waiting for it goes on; the
    // next start is a fresh one, not that failure repeated.
    void aSpareTooSlowToStartIsToldSoAndTheNextStartTriesAgain()
    {
        UnoEngine layer(mWindows, hangingEngine("slow", 2000));
        std::optional<EngineStartFailure> told;
        std::optional<bool> settled;
        layer.prepareSpare([&](const EngineStartFailure& failure) { told = failure; });
        layer.whenSpareSettled([&](bool startFailed) { settled = startFailed; });
        QTRY_VERIFY_WITH_TIMEOUT(told && settled, 10000);
        QVERIFY(*settled);
        QCOMPARE(told->cause, EngineStartFailure::Cause::TooSlow);

        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(EngineUnavailable, layer.CreateObject());
        QVERIFY2(timer.elapsed() > 1500, qPrintable(QString::number(timer.elapsed())));

        // A command that comes once the failure was told goes on: its
        // CreateObject starts afresh.
        told.reset();
        settled.reset();
        layer.prepareSpare([&](const EngineStartFailure& failure) { told = failure; });
        QTRY_VERIFY_WITH_TIMEOUT(told, 10000);
        layer.whenSpareSettled([&](bool startFailed) { settled = startFailed; });
        QTRY_VERIFY(settled);
        QVERIFY(!*settled);
        layer.endInstancesStartedHere();
        QVERIFY(!engineFoldersLeft());
    }

    void aFileThatIsNoPresentationFailsAtOnceAndSaysSo()
    {
        const QString empty = mFolder.filePath("empty.ppt");
        const QString text = mFolder.filePath("text.ppt");
        QFile(empty).open(QIODevice::WriteOnly);
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("Just some notes, no slides.\n");
        notes.close();
        const auto app = engine().CreateObject();
        for (const QString& path : {empty, text}) {
            for (const bool withWindow : {true, false}) {
                QElapsedTimer timer;
                timer.start();
                try {
                    withWindow ? app->Presentations().Open(path) : app->Presentations().OpenWithoutWindow(path);
                    QFAIL("opening should have failed");
                } catch (const Failure& failure) {
                    QVERIFY2(failure.description().startsWith("Opening the presentation " + path + " failed: "),
                             qPrintable(failure.description()));
                }
                QVERIFY2(timer.elapsed() < 5000, "the engine waited for an answer");
            }
        }
        QCOMPARE(app->Presentations().Count(), 0);
        // No parked show window (of the class shows run in) is left for a
        // later embedding to take in.
        QCOMPARE(X11WindowSystem().findWindow("screenClass"), WindowSystem::WindowId(0));
        app->Quit();
    }

    void aKilledEngineFailsTheNextCallPromptly()
    {
        const QString path = copyOfTemplate(mFolder);
        const auto app = engine().CreateObject();
        const auto deck = app->Presentations().Open(path);
        QVERIFY(mEngine.signal(mEngine.pid(), SIGKILL));
        QVERIFY(mEngine.waitUntilEnded(5000));
        // What the bridge's next write into the ended engine's pipe may
        // raise; it must not end the program.
        ::raise(SIGPIPE);

        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(Failure, deck->Slides(1).Select());
        // A table, made from the engine's main loop, fails as promptly.
        QVERIFY_THROWS_EXCEPTION(EngineUnavailable, deck->Slides(2).AddTable(TableData{{"Who"}, {{"Acme"}}, {}}));
        QVERIFY_THROWS_EXCEPTION(Failure, app->Presentations().Count());
        QVERIFY_THROWS_EXCEPTION(Failure, app->Quit());
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // A long save keeps the engine working past many periods and is waited
    // for; an engine that stops working is killed after one period, and the
    // failing call says so.
    void aBusyEngineIsWaitedForAStuckOneKilledAfterOnePeriod()
    {
        using namespace std::chrono_literals;
        const QString path = copyOfTemplate(mFolder);
        const auto app = engine().CreateObject();
        const auto deck = app->Presentations().Open(path);
        QStringList lines;
        for (int i = 0; i < 3000; ++i)
            lines << QStringLiteral("Line %1").arg(i);
        writeShape(*app, *deck, 2, "Rectangle 3", lines.join("\r\n"));

        // Only the calls under test run with a short period: an engine that
        // starts or opens a deck may wait for the display longer than that.
        const auto restore = qScopeGuard([] { CallWatchdog::setPeriod(CallWatchdog::kDefaultPeriod); });
        CallWatchdog::setPeriod(500ms);
        QElapsedTimer timer;
        timer.start();
        deck->Save();
        QVERIFY2(timer.elapsed() > 1000, "the save was too quick to outlast a period");
        QVERIFY(mEngine.running());

        const qint64 pid = mEngine.pid();
        QVERIFY(mEngine.signal(pid, SIGSTOP));
        QTRY_VERIFY(allThreadsStopped(pid));
        timer.restart();
        try {
            deck->Slides(2).Select();
            QFAIL("a call into a stopped engine succeeded");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().contains("stopped responding"), qPrintable(failure.description()));
        }
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(mEngine.waitUntilEnded(5000));
    }

    // A program that must end now ends the call it waits in from another
    // thread, long before the call's deadline.
    void aCallInterruptedFromAnotherThreadFailsAtOnce()
    {
        UnoEngine layer = engine();
        const auto app = layer.CreateObject();
        const auto deck = app->Presentations().Open(copyOfTemplate(mFolder));
        QVERIFY(mEngine.signal(mEngine.pid(), SIGSTOP));
        std::thread interrupter([&] {
            QThread::msleep(300);
            layer.interruptCall();
        });
        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(Failure, deck->Slides(2).Select());
        interrupter.join();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(mEngine.waitUntilEnded(5000));
    }
};

QTEST_MAIN(UnoEngineTest)
#include "test_uno_engine.moc"
