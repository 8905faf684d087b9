// The real program on a private display with the real engine: type a plan,
// build the deck, watch it run in the viewer, save it, go back, build again
// and close the viewer.
#include "engine/uno/uno_engine.h"
#include "plan/plan_file.h"
#include "tests/support/chart_plan.h"
#include "tests/support/deck_text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/private_engine.h"
#include "tests/support/program_driver.h"
#include "tests/support/program_places.h"
#include "tests/support/written_documents.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

QStringList decksIn(const QString& folder)
{
    return QDir(folder).entryList({"ps*.ppt"});
}

// What a run leaves in TEMP besides the working copy of the template, which
// every run shares, and the folders of engines still running: decks, the
// engine's lock files and temporary folders.
QStringList leftIn(const QString& folder, const QStringList& running = {})
{
    QStringList left = QDir(folder)
                           .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                           .filter(QRegularExpression("^(?!business_plan\\.ppt$)"));
    for (const QString& engineFolder : running)
        left.removeAll(engineFolder);
    return left;
}

// The files of a folder with their sizes and times of change, for a failure
// message that tells which file was left and when it was written.
QString filesIn(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        files << QStringLiteral("%1 (%2 bytes, written %3)")
                     .arg(file.fileName())
                     .arg(file.size())
                     .arg(file.lastModified().toString("hh:mm:ss.zzz"));
    QProcess engines;
    engines.start("pgrep", {"-a", "soffice.bin"});
    engines.waitForFinished(5000);
    return QStringLiteral("left at %1: %2; engines running: %3")
        .arg(QTime::currentTime().toString("hh:mm:ss.zzz"), files.join(", "),
             QString::fromLocal8Bit(engines.readAllStandardOutput()));
}

// Keeps the screen of a failure for a look; where it is kept.
// The mean difference of two images of one size, per pixel and colour.
double difference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

QString keepScreen(const QImage& screen)
{
    // Named after the test, so that a later failure does not take its place.
    const QString kept =
        QDir::temp().filePath(QStringLiteral("orvendale-e2e-%1.png").arg(QTest::currentTestFunction()));
    screen.save(kept);
    return kept;
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    ProgramDriver mProgram;
    unsigned long mInput = 0;
    QPoint mInputAt;

    // Waits until the slide sample of the viewer's frame passes the check.
    // When it never does, the screen is kept for a look and the program's
    // windows are named.
    bool waitForSlide(QPoint viewerAt, bool (*check)(QRgb), int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        QImage screen;
        while (timer.elapsed() < timeoutMs) {
            screen = mProgram.screenshot();
            if (!screen.isNull() && check(screen.pixel(viewerAt + kSlideSample)))
                return true;
            QTest::qWait(200);
        }
        const QString kept = keepScreen(screen);
        QStringList windows;
        for (const unsigned long window : mProgram.visibleWindows("Orvendale"))
            windows << QStringLiteral("%1 at %2,%3")
                           .arg(window)
                           .arg(mProgram.windowOrigin(window).x())
                           .arg(mProgram.windowOrigin(window).y());
        qWarning("no slide at %d,%d; windows: %s; the screen is in %s; the program said:\n%s", viewerAt.x(),
                 viewerAt.y(), qPrintable(windows.join(", ")), qPrintable(kept),
                 qPrintable(mProgram.errorOutput().right(3000)));
        return false;
    }

    // Starts the program and waits for its input window; says what went
    // wrong when it does not show. A run still going from an earlier test
    // is ended first.
    bool startProgram(const QStringList& arguments = {})
    {
        if (mProgram.running()) {
            mProgram.signal(SIGTERM);
            mProgram.waitForExit(20000);
        }
        QElapsedTimer timer;
        timer.start();
        if (!mProgram.start(arguments)) {
            qWarning("the program could not be started");
            return false;
        }
        mInput = mProgram.waitForWindow("Orvendale", 60000);
        mInputAt = mProgram.windowOrigin(mInput) + QPoint(0, kMenuBarHeight);
        if (!mInput)
            qWarning("no input window after %.1f s; the program is %s; its threads:\n%s\nit said:\n%s",
                     timer.elapsed() / 1000.0, mProgram.running() ? "running" : "not running",
                     qPrintable(mProgram.threadStacks()), qPrintable(mProgram.errorOutput().right(3000)));
        return mInput != 0;
    }

    // Sends the program the signal and tells how many milliseconds it took
    // to end; -1 when it did not end within 10 s.
    qint64 msToEndBy(int signal)
    {
        QElapsedTimer timer;
        timer.start();
        mProgram.signal(signal);
        return mProgram.waitForExit(10000) ? timer.elapsed() : -1;
    }

    // Presses "Start Creating Template" and waits until the engine fills the
    // temporary deck; returns the engine's pid.
    qint64 startFillingADeck()
    {
        mProgram.click(mInputAt + kCreateButton);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000
               && (!processAlive(mProgram.enginePid()) || decksIn(mProgram.tempFolder()).isEmpty()))
            QTest::qWait(100);
        QTest::qWait(2000);
        return mProgram.enginePid();
    }

    // Creates a deck and returns the viewer once it is the only window of the
    // program on the screen: the viewer shows while the input window is
    // still up, until the show runs.
    unsigned long createDeck(QPoint& viewerAt)
    {
        mProgram.click(mInputAt + kCreateButton);
        QElapsedTimer timer;
        timer.start();
        QList<unsigned long> shown;
        do {
            QTest::qWait(100);
            shown = mProgram.visibleWindows("Orvendale");
        } while ((shown.size() != 1 || shown.first() == mInput) && timer.elapsed() < 60000);
        if (shown.size() != 1 || shown.first() == mInput) {
            const QString kept = keepScreen(mProgram.screenshot());
            QStringList engines;
            for (const qint64 pid : mProgram.enginePids())
                engines << QString::number(pid);
            qWarning(
                "no viewer alone on the screen after %.1f s: %lld windows of the program (input window shown: "
                "%s), an error box %s; engines running: %s; the screen is in %s; the program said:\n%s",
                timer.elapsed() / 1000.0, static_cast<long long>(shown.size()), shown.contains(mInput) ? "yes" : "no",
                mProgram.visibleWindow("Application Error") ? "up" : "not up", qPrintable(engines.join(", ")),
                qPrintable(kept), qPrintable(mProgram.errorOutput().right(3000)));
            return 0;
        }
        viewerAt = mProgram.windowOrigin(shown.first());
        return shown.first();
    }

    // A click or key for the show, once its engine settled after showing a
    // slide: the engine drops input that waited while it was busy showing
    // one, and a person clicks later than a test can.
    // Starts the program afresh with the plan's first section as given,
    // makes the deck and waits for its title slide in the viewer.
    bool showPlanWithFirstSection(const QString& text, QPoint& viewerAt)
    {
        return restartWithFirstSection(text) && createDeck(viewerAt)
               && waitForSlide(viewerAt, isTitleSlideColour, 30000);
    }

    // Starts the program afresh with the plan's first section as given.
    bool restartWithFirstSection(const QString& text)
    {
        if (mProgram.running()) {
            mProgram.signal(SIGTERM);
            if (!mProgram.waitForExit(20000))
                return false;
        }
        QFile store(mProgram.storeFile());
        if (!store.open(QIODevice::ReadWrite))
            return false;
        QJsonObject all = QJsonDocument::fromJson(store.readAll()).object();
        QJsonObject plan = all["Orvendale"].toObject();
        plan["FirstStatement_0"] = text;
        all["Orvendale"] = plan;
        store.resize(0);
        store.write(QJsonDocument(all).toJson());
        store.close();
        return startProgram();
    }

    // What the program's store holds under the plan's key.
    QString stored(const QString& key)
    {
        QFile store(mProgram.storeFile());
        store.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(store.readAll()).object()["Orvendale"].toObject()[key].toString();
    }

    // Where a section slide's text stands in the viewer's frame.
    static QRect bodyInFrame(QPoint viewerAt) { return QRect(viewerAt + QPoint(20, 230), QSize(300, 180)); }

    // How many pixels of the area are about the colour.
    static int pixelsIn(const QImage& screen, const QRect& area, QRgb colour)
    {
        int like = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y = area.top(); y <= area.bottom(); ++y) {
                const QRgb pixel = screen.pixel(x, y);
                like += std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour))
                            + std::abs(qBlue(pixel) - qBlue(colour))
                        < 40;
            }
        return like;
    }

    void clickShow(QPoint viewerAt)
    {
        QVERIFY(waitUntilSettled(mProgram.enginePid(), 10000));
        mProgram.click(viewerAt + kFrameCentre);
    }
    void keyToShow(const char* key)
    {
        QVERIFY(waitUntilSettled(mProgram.enginePid(), 10000));
        mProgram.key(key);
    }

    // Saves through "Save Results" under the typed name and answers "Done.".
    void saveAs(unsigned long viewer, const QString& typed)
    {
        mProgram.click(mProgram.windowOrigin(viewer) + kSaveButton);
        const QString failed = mProgram.answerFileDialog("Output File", typed);
        QVERIFY2(failed.isEmpty(), qPrintable(failed + "; the screen is in " + keepScreen(mProgram.screenshot())));
        // "Done." is answered only once it is up, so that the key cannot
        // reach the viewer instead.
        QTRY_VERIFY_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale").size() == 2, 20000);
        mProgram.key("Return");
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale"), QList<unsigned long>({viewer}), 10000);
        // A click that reaches the viewer while the box is still going away
        // is not one a user makes; the next test clicks once it is settled.
        QTest::qWait(1000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        QVERIFY2(startProgram(), "the input window did not appear");
    }

    void typedTextIsStoredAtOnce()
    {
        mProgram.click(mInputAt + kCompanyBox);
        mProgram.type("Fjordlight AS");
        QTest::qWait(300);
        QFile store(mProgram.storeFile());
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QJsonObject plan = QJsonDocument::fromJson(store.readAll()).object()["Orvendale"].toObject();
        QCOMPARE(plan["Company Name"].toString(), QString("Fjordlight AS"));
        QVERIFY(plan["FirstStatement_0"].toString().startsWith("The company's long-term mission:"));
    }

    // A misspelled word is underlined in red as it is typed, and the first
    // suggestion of its context menu puts the right word in its place, which
    // is stored.
    void aMisspelledWordIsUnderlinedAndCorrectedFromItsMenu()
    {
        mProgram.click(mInputAt + kPlanTitleBox);
        mProgram.type("Recieve the plan");
        QTest::qWait(500);
        const QImage screen = mProgram.screenshot();
        // The box's text starts 4 pixels in; "Recieve" takes about the first
        // 55 pixels of it, the rest of the line none of the red.
        const QRect word(mInputAt + QPoint(20, 125), QSize(60, 22));
        const QRect rest(mInputAt + QPoint(84, 125), QSize(400, 22));
        const auto redIn = [&](const QRect& area) {
            int red = 0;
            for (int x = area.left(); x <= area.right(); ++x)
                for (int y = area.top(); y <= area.bottom(); ++y) {
                    const QColor ink = screen.pixelColor(x, y);
                    red += ink.red() - std::max(ink.green(), ink.blue()) > 60;
                }
            return red;
        };
        QVERIFY2(redIn(word) > 10 && redIn(rest) == 0,
                 qPrintable(QString("red under the word: %1, after it: %2; the screen is in %3")
                                .arg(redIn(word))
                                .arg(redIn(rest))
                                .arg(keepScreen(screen))));

        mProgram.click(mInputAt + QPoint(40, 135), 3);
        QTest::qWait(800);
        mProgram.key("Down");
        mProgram.key("Return");
        QTest::qWait(500);
        QFile store(mProgram.storeFile());
        QVERIFY(store.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(store.readAll()).object()["Orvendale"].toObject()["Business Plan"].toString(),
                 QString("Receive the plan"));
    }

    void theDeckRunsInsideTheViewerAndAdvances()
    {
        QElapsedTimer timer;
        timer.start();
        QPoint viewerAt;
        QVERIFY(createDeck(viewerAt));
        QTRY_VERIFY_WITH_TIMEOUT(processAlive(mProgram.enginePid()), 30000);
        QVERIFY2(waitForSlide(viewerAt, isTitleSlideColour, 30000), "the first slide did not show in the frame");
        qInfo("from the press of the button to the first slide in the frame: %.1f s", timer.elapsed() / 1000.0);
        QCOMPARE(decksIn(mProgram.tempFolder()).size(), 1);
        QCOMPARE(mProgram.visibleEngineWindows(), 0);

        clickShow(viewerAt);
        QVERIFY2(waitForSlide(viewerAt, isWhite, 10000), "a click did not advance the show");
    }

    void savingCopiesTheDeckWhereTheUserSays()
    {
        const unsigned long viewer = mProgram.visibleWindow("Orvendale");
        QTemporaryDir target;
        const QString saved = target.filePath("fjordlight plan.ppt");
        saveAs(viewer, saved);
        if (QTest::currentTestFailed())
            return;
        PrivateEngine reader;
        UnoEngine engine = reader.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(saved);
        QCOMPARE(shapeText(*app, *deck, 1, "Rectangle 2"), QString("Fjordlight AS"));
        QVERIFY(shapeText(*app, *deck, 2, "Rectangle 3").startsWith("The company's long-term mission:\r\n"));
        app->Quit();

        // An export by the engine leaves the show running on its slide, and
        // no engine window or process besides the viewer's.
        const qint64 showing = mProgram.enginePid();
        saveAs(viewer, target.filePath("fjordlight plan.pdf"));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(mProgram.visibleEngineWindows(), 0);
        QCOMPARE(mProgram.enginePid(), showing);
        QFile pdf(target.filePath("fjordlight plan.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(waitForSlide(mProgram.windowOrigin(viewer), isWhite, 5000));
    }

    // F5 presents the show over the whole screen, from the slide the frame
    // showed; keys move it on there; Escape brings it back into the frame at
    // the slide reached, and the screen around the viewer is as before.
    void f5PresentsFullScreenAndEscapeComesBack()
    {
        const unsigned long viewer = mProgram.visibleWindow("Orvendale");
        const QPoint viewerAt = mProgram.windowOrigin(viewer);
        const QImage before = mProgram.screenshot();
        // The slide is 16:9: on the 1280 x 1024 screen it takes the whole
        // width between bands 152 pixels high.
        const QPoint rightEdge(1278, 512);
        QVERIFY(!QRect(viewerAt, QSize(536, 640)).contains(rightEdge));
        mProgram.movePointer(viewerAt + kFrameCentre);
        QElapsedTimer timer;
        timer.start();
        mProgram.key("F5");
        QTRY_VERIFY_WITH_TIMEOUT(isWhite(mProgram.pixel(kScreenLeftEdge)) && isWhite(mProgram.pixel(rightEdge)), 5000);
        qInfo("from F5 to the slide at the screen's edges: %.2f s", timer.elapsed() / 1000.0);
        const QImage secondSlide = mProgram.screenshot();

        keyToShow("Right");
        QTRY_VERIFY_WITH_TIMEOUT(mProgram.screenshot() != secondSlide, 5000);
        QVERIFY(isWhite(mProgram.pixel(kScreenLeftEdge)));
        const QImage thirdSlide = mProgram.screenshot();
        // Said for a later failure's sake: a key that did not reach the show
        // leaves the two all but alike.
        qInfo("the third slide differs from the second by %.1f", difference(secondSlide, thirdSlide));
        QCOMPARE(mProgram.visibleEngineWindows(), 0);

        timer.restart();
        mProgram.key("Escape");
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.pixel(kOutsideViewer), before.pixel(kOutsideViewer), 5000);
        qInfo("from Escape to the frame: %.2f s", timer.elapsed() / 1000.0);
        QVERIFY(waitForSlide(viewerAt, isWhite, 5000));
        // The frame shows the third slide: it looks more like the third
        // slide, made as small, than like the second.
        const QImage screen = mProgram.screenshot();
        const auto isBlack = [](QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 30; };
        int top = viewerAt.y() + kFrameCentre.y();
        while (top > viewerAt.y() && !isBlack(screen.pixel(viewerAt.x() + kFrameCentre.x(), top - 1)))
            --top;
        const QImage framed = screen.copy(viewerAt.x() + 10, top, 516, 290);
        const auto likeness = [&](const QImage& fullScreen) {
            return difference(framed, fullScreen.copy(0, 152, 1280, 720)
                                          .scaled(framed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        };
        QVERIFY2(likeness(thirdSlide) < likeness(secondSlide),
                 qPrintable(QString("the frame differs from the third slide by %1, from the second by %2; the screen "
                                    "is in %3")
                                .arg(likeness(thirdSlide))
                                .arg(likeness(secondSlide))
                                .arg(keepScreen(screen))));
    }

    void backEndsTheShowAndShowsTheInputWindow()
    {
        const unsigned long viewer = mProgram.visibleWindow("Orvendale");
        const qint64 engine = mProgram.enginePid();
        QVERIFY(processAlive(engine));
        QElapsedTimer timer;
        timer.start();
        mProgram.click(mProgram.windowOrigin(viewer) + kBackButton);
        // Back is done when the input window is the program's only window.
        QList<unsigned long> windows;
        while ((windows = mProgram.visibleWindows("Orvendale")) != QList<unsigned long>{mInput}
               && timer.elapsed() < 10000)
            QTest::qWait(100);
        if (windows != QList<unsigned long>{mInput}) {
            const QString kept = keepScreen(mProgram.screenshot());
            QStringList shown;
            for (const unsigned long window : windows)
                shown << QString::number(window, 16);
            QFAIL(qPrintable(QStringLiteral("\"< Back\" did not bring the input window back (windows shown: %1; the "
                                            "input window: %2, the viewer: %3); the screen is in %4; input: %5\nthe "
                                            "program's threads:\n%6\nthe program said:\n%7")
                                 .arg(shown.join(", "), QString::number(mInput, 16), QString::number(viewer, 16), kept,
                                      mProgram.inputState(), mProgram.threadStacks(),
                                      mProgram.errorOutput().right(3000))));
        }
        qInfo("from \"< Back\" to the input window: %.2f s", timer.elapsed() / 1000.0);
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(engine), 10000);
        QVERIFY(decksIn(mProgram.tempFolder()).isEmpty());
    }

    void closingTheViewerEndsEverything()
    {
        QPoint viewerAt;
        const unsigned long viewer = createDeck(viewerAt);
        QVERIFY(viewer);
        // The viewer's own engine instance is up and showing the deck.
        QTRY_VERIFY_WITH_TIMEOUT(processAlive(mProgram.enginePid()), 30000);
        const qint64 engine = mProgram.enginePid();
        QVERIFY(waitForSlide(viewerAt, isTitleSlideColour, 30000));
        // The viewer's engine and the next spare end with the program.
        const QString stillRunning = mProgram.endWithItsEngines([&] { mProgram.closeWindow(viewer); });
        QVERIFY2(stillRunning.isEmpty(), qPrintable(stillRunning));
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(engine), 15000);
        QTRY_VERIFY2_WITH_TIMEOUT(leftIn(mProgram.tempFolder()).isEmpty(), qPrintable(filesIn(mProgram.tempFolder())),
                                  15000);
    }

    // A program killed while it fills a deck leaves its engines running (the
    // one filling and the spare for the viewer); the next start ends them and
    // clears TEMP. A program ended by SIGTERM while it fills a deck ends its
    // engines and removes the deck itself.
    void anEndDuringFillingLeavesNothingBehind()
    {
        QVERIFY(startProgram());
        QVERIFY(processAlive(startFillingADeck()));
        const QList<qint64> orphans = mProgram.enginePids();
        mProgram.signal(SIGKILL);
        QVERIFY(mProgram.waitForExit(10000));
        for (const qint64 orphan : orphans)
            QVERIFY(processAlive(orphan));

        QVERIFY(startProgram());
        for (const qint64 orphan : orphans)
            QTRY_VERIFY_WITH_TIMEOUT(!processAlive(orphan), 10000);
        // Only the new run's spare engine has a folder there.
        QTRY_VERIFY2_WITH_TIMEOUT(leftIn(mProgram.tempFolder(), mProgram.engineTempFolders()).isEmpty(),
                                  qPrintable(filesIn(mProgram.tempFolder())), 15000);

        QVERIFY(processAlive(startFillingADeck()));
        const QList<qint64> engines = mProgram.enginePids();
        mProgram.signal(SIGTERM);
        QVERIFY2(mProgram.waitForExit(20000), "the program did not end");
        for (const qint64 engine : engines)
            QVERIFY(!processAlive(engine));
        QVERIFY2(leftIn(mProgram.tempFolder()).isEmpty(), qPrintable(filesIn(mProgram.tempFolder())));
    }

    // "Start Creating Template" pressed while the engine started ahead of
    // need is stuck in its start waits without holding the window up: a
    // signal then ends the program at once, and the stuck engine with it.
    void aSignalWhileTheCommandWaitsForTheEngineEndsAtOnce()
    {
        QVERIFY(startProgram());
        qint64 spare = 0;
        QElapsedTimer timer;
        timer.start();
        while (!spare && timer.elapsed() < 30000) {
            spare = mProgram.enginePids().value(0);
            QThread::msleep(2);
        }
        QVERIFY(mProgram.signalEngine(spare, SIGSTOP));
        mProgram.click(mInputAt + kCreateButton);
        QTest::qWait(1000);
        const qint64 ended = msToEndBy(SIGTERM);
        QVERIFY2(ended >= 0 && ended < 2000, qPrintable(QString::number(ended)));
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(spare), 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(leftIn(mProgram.tempFolder()).isEmpty(), qPrintable(filesIn(mProgram.tempFolder())),
                                  15000);
    }

    // A signal ends the program also while a box waits for the user (here:
    // the viewer's engine died, and the viewer says so), without asking
    // anything more, and nothing is left behind.
    void aSignalEndsTheProgramWhileABoxWaits()
    {
        QVERIFY(startProgram());
        QPoint viewerAt;
        QVERIFY(createDeck(viewerAt));
        QVERIFY(waitForSlide(viewerAt, isTitleSlideColour, 30000));
        QVERIFY(mProgram.signalEngine(mProgram.enginePid(), SIGKILL));
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale").size(), 2, 15000);
        const QString stillRunning = mProgram.endWithItsEngines([&] { mProgram.signal(SIGTERM); });
        QVERIFY2(stillRunning.isEmpty(), qPrintable(stillRunning));
        QTRY_VERIFY2_WITH_TIMEOUT(leftIn(mProgram.tempFolder()).isEmpty(), qPrintable(filesIn(mProgram.tempFolder())),
                                  15000);
    }

    // A save cut short keeps the user's old file as it was and leaves no
    // copy beside it: SIGTERM ends the program at once, even while the
    // engine does not answer; after a kill, the next start ends the engine
    // and removes the copy it was writing.
    void aSaveCutShortKeepsTheOldFileAndLeavesNoCopy()
    {
        QTemporaryDir target;
        const QString saved = target.filePath("plan.pdf");
        for (const int signal : {SIGTERM, SIGKILL}) {
            QFile old(saved);
            QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
            old.write("the old plan");
            old.close();
            QVERIFY(startProgram());
            QPoint viewerAt;
            const unsigned long viewer = createDeck(viewerAt);
            QVERIFY(viewer);
            QVERIFY(waitForSlide(viewerAt, isTitleSlideColour, 30000));
            const qint64 engine = mProgram.enginePid();
            mProgram.click(viewerAt + kSaveButton);
            QCOMPARE(mProgram.answerFileDialog("Output File", saved), QString());
            QTRY_VERIFY_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale").size() == 2, 20000);
            // An engine that takes its time over the export. It is stopped
            // only now: until the save began, the viewer asked it every
            // second whether the show still runs, and a stopped engine would
            // have held the click for the call's whole deadline.
            QVERIFY(mProgram.signalEngine(engine, SIGSTOP));
            mProgram.key("Return");  // yes, overwrite it
            QTRY_VERIFY_WITH_TIMEOUT(
                QDir(target.path()).entryList({".orvendale-copy-*"}, QDir::Hidden | QDir::Dirs).size() == 1, 10000);
            // What the engine writes while it saves (its lock file, its
            // temporary file) lies in the copy's folder, and goes with it.
            const QString copy = target.filePath(
                QDir(target.path()).entryList({".orvendale-copy-*"}, QDir::Hidden | QDir::Dirs).first());
            writeFile(copy + "/.~lock.plan.pdf#", "lock");
            writeFile(copy + "/lu12345abcd.tmp", "half a deck");
            const qint64 ended = msToEndBy(signal);
            QVERIFY2(ended >= 0 && ended < 2000, qPrintable(QString::number(ended)));
            if (signal == SIGKILL)
                QVERIFY(startProgram());
            QTRY_VERIFY_WITH_TIMEOUT(!processAlive(engine), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(
                QDir(target.path()).entryList(QDir::Hidden | QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                QStringList({"plan.pdf"}), 10000);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("the old plan"));
        }
        mProgram.signal(SIGTERM);
        QVERIFY(mProgram.waitForExit(20000));
    }

    // With two screens, F5 shows the slide full screen on the screen the
    // viewer is not on and the engine's presenter console on the viewer's;
    // Right moves the show on; Escape ends both, and the frame shows the
    // slide reached. No other engine window shows meanwhile.
    void withTwoScreensTheConsoleShowsBesideTheShow()
    {
        PrivateDisplay twoScreens(QSize(2560, 1024), 2);
        QVERIFY2(twoScreens.ok(), "Xvfb with two monitors could not be started");
        QVERIFY(startProgram());
        // The program goes before its display, whatever the test's outcome.
        const auto endProgram = qScopeGuard([&] {
            if (mProgram.running()) {
                mProgram.signal(SIGTERM);
                mProgram.waitForExit(20000);
            }
        });
        QPoint viewerAt;
        QVERIFY(createDeck(viewerAt));
        QVERIFY(waitForSlide(viewerAt, isTitleSlideColour, 30000));
        const int viewerScreen = viewerAt.x() / 1280 * 1280;
        const int audienceScreen = 1280 - viewerScreen;
        // The 16:9 slide fills the width of the 1280 x 1024 screen between
        // black bands.
        const QPoint showLeft(audienceScreen + 1, 512), showRight(audienceScreen + 1278, 512);
        const QPoint band(audienceScreen + 640, 5);
        const auto isBlack = [](QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 30; };
        const QImage before = mProgram.screenshot();
        mProgram.movePointer(viewerAt + kFrameCentre);
        QElapsedTimer timer;
        timer.start();
        mProgram.key("F5");
        QTRY_VERIFY_WITH_TIMEOUT(isTitleSlideColour(mProgram.pixel(showLeft)) && !isBlack(mProgram.pixel(showRight))
                                     && isBlack(mProgram.pixel(band)),
                                 10000);
        qInfo("from F5 to the slide on the other screen: %.2f s", timer.elapsed() / 1000.0);
        // The share of the desktop around the viewer that differs from before
        // F5: the console covers all of it.
        const QRect viewer(viewerAt, QSize(536, 640));
        const auto covered = [&](const QImage& screen) {
            int changed = 0, all = 0;
            for (int x = viewerScreen + 8; x < viewerScreen + 1280; x += 16)
                for (int y = 8; y < 1024; y += 16)
                    if (!viewer.contains(x, y)) {
                        ++all;
                        changed += screen.pixel(x, y) != before.pixel(x, y);
                    }
            return static_cast<double>(changed) / all;
        };
        QTRY_VERIFY_WITH_TIMEOUT(covered(mProgram.screenshot()) > 0.9, 10000);
        const QImage console = mProgram.screenshot();
        QCOMPARE(mProgram.visibleEngineWindows(), 2);

        keyToShow("Right");
        QTRY_VERIFY_WITH_TIMEOUT(isWhite(mProgram.pixel(showLeft)), 10000);
        timer.restart();
        mProgram.key("Escape");
        // The show in the frame: the second slide between black bands (the
        // console leaves a grey picture there until the frame is painted).
        QTRY_VERIFY_WITH_TIMEOUT(
            isBlack(mProgram.pixel(viewerAt + QPoint(268, 40))) && isWhite(mProgram.pixel(viewerAt + kSlideSample)),
            10000);
        qInfo("from Escape to the second slide in the frame: %.2f s", timer.elapsed() / 1000.0);
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleEngineWindows(), 0, 10000);
        QVERIFY2(covered(mProgram.screenshot()) == 0, qPrintable(keepScreen(mProgram.screenshot())));
        const QString kept = QDir::temp().filePath("orvendale-console.png");
        console.save(kept);
        qInfo("the console covered %.0f %% of the desktop around the viewer; the screen with it is in %s",
              covered(console) * 100, qPrintable(kept));

        mProgram.click(viewerAt + kBackButton);
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindow("Orvendale"), mInput, 10000);
        const QString stillRunning = mProgram.endWithItsEngines([&] { mProgram.signal(SIGTERM); });
        QVERIFY2(stillRunning.isEmpty(), qPrintable(stillRunning));
    }

    // Through the menus, as a user does it: Save As, typing that reaches
    // the plan file, a new start, a new plan, Open Recent bringing the texts
    // back, and the snapshot taken before the next new plan restored.
    void aPlanFileIsSavedReopenedAndASnapshotRestored()
    {
        QVERIFY(startProgram());
        QTemporaryDir folder;
        const QString file = folder.filePath("investor one.orvendale");
        const auto storedName = [&] { return stored("Company Name"); };
        mProgram.click(mInputAt + kCompanyBox);
        mProgram.type("Saved AS");
        mProgram.key("ctrl+shift+s");
        QCOMPARE(mProgram.answerFileDialog("Save Plan As", file), QString());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 10000);
        // A click puts the caret where it clicks: the title is replaced
        // as a user replaces it.
        mProgram.click(mInputAt + kPlanTitleBox);
        mProgram.key("ctrl+a");
        mProgram.type("For investor one");
        QTRY_COMPARE_WITH_TIMEOUT(PlanFile::read(file).value("Business Plan"), QString("For investor one"), 5000);
        // Ended by a logout at once after a keystroke, before the pause that
        // writes the file: the file has the last words all the same.
        mProgram.type(" and two");
        QTRY_COMPARE_WITH_TIMEOUT(stored("Business Plan"), QString("For investor one and two"), 5000);
        mProgram.signal(SIGTERM);
        QVERIFY(mProgram.waitForExit(20000));
        QCOMPARE(PlanFile::read(file).value("Business Plan"), QString("For investor one and two"));
        QVERIFY(startProgram());
        // Keys go where the pointer is: on the window.
        mProgram.click(mInputAt + kCompanyBox);
        mProgram.key("ctrl+n");
        QTRY_COMPARE_WITH_TIMEOUT(storedName(), QString(), 5000);
        mProgram.key("F10");
        QTest::qWait(500);
        mProgram.key("r");
        QTest::qWait(500);
        mProgram.key("Return");
        QTRY_COMPARE_WITH_TIMEOUT(storedName(), QString("Saved AS"), 5000);

        mProgram.key("ctrl+n");
        QTRY_COMPARE_WITH_TIMEOUT(storedName(), QString(), 5000);
        mProgram.key("F10");
        QTest::qWait(500);
        mProgram.key("s");
        QVERIFY(mProgram.waitForWindow("Snapshots", 10000));
        QTest::qWait(500);
        // The newest snapshot, chosen as the dialog opens, is the plan
        // before this new one.
        mProgram.key("alt+r");
        QTRY_COMPARE_WITH_TIMEOUT(storedName(), QString("Saved AS"), 5000);
        mProgram.key("Escape");

        // The desktop offers the file again; opened from there, its texts
        // come back.
        QVERIFY(
            readFile(mProgram.dataFolder() + "/recently-used.xbel").contains(QUrl::fromLocalFile(file).toEncoded()));
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindow("Snapshots"), 0ul, 5000);
        mProgram.click(mInputAt + kCompanyBox);
        mProgram.key("ctrl+n");
        QTRY_COMPARE_WITH_TIMEOUT(storedName(), QString(), 5000);
        mProgram.closeWindow(mInput);
        QVERIFY(mProgram.waitForExit(20000));
        QVERIFY(startProgram({file}));
        QTRY_COMPARE_WITH_TIMEOUT(storedName(), QString("Saved AS"), 10000);
    }

    // A business plan document imported by keyboard (Plan > Import
    // Document…, its file dialog, Import in the preview) becomes the plan,
    // and the deck made from it has each paragraph's first sentence on the
    // slide and the paragraph in the notes.
    void aDocumentImportedByKeyboardBecomesTheDeck()
    {
        QTemporaryDir folder;
        const QString document = folder.filePath("business-plan.docx");
        const QString paragraph =
            "Ada Berg leads the company. She built two farms before and sold both of them to "
            "larger growers, and she knows what restaurants ask of a supplier every week.";
        {
            PrivateEngine writer;
            writeDocument(writer.settings(),
                          "<html><body><p>Fjordlight AS</p><h1>Management Team</h1><p>" + paragraph
                              + "</p><h1>Risks</h1><p>Rain.</p></body></html>",
                          document);
            QVERIFY(writer.waitUntilEnded(15000));
        }
        QVERIFY(startProgram());
        mProgram.click(mInputAt + kCompanyBox);
        mProgram.key("F10");
        QTest::qWait(500);
        mProgram.key("i");
        QCOMPARE(mProgram.answerFileDialog("Import Document", document), QString());
        QVERIFY2(mProgram.waitForWindow("Import business-plan.docx", 30000),
                 qPrintable(keepScreen(mProgram.screenshot())));
        QTest::qWait(500);
        mProgram.key("alt+i");
        QTRY_COMPARE_WITH_TIMEOUT(stored("Company Name"), QString("Fjordlight AS"), 10000);
        QCOMPARE(stored("FirstStatement_1"), "Ada Berg leads the company.\r\nNotes: " + paragraph);
        QCOMPARE(stored("SecondStatement_3"), QString("Rain."));

        QPoint viewerAt;
        QVERIFY(createDeck(viewerAt));
        QVERIFY(waitForSlide(viewerAt, isTitleSlideColour, 30000));
        const QStringList decks = decksIn(mProgram.tempFolder());
        QCOMPARE(decks.size(), 1);
        PrivateEngine reader;
        UnoEngine engine = reader.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(QDir(mProgram.tempFolder()).filePath(decks.first()));
        QCOMPARE(shapeText(*app, *deck, 3, "Rectangle 3"), QString("Ada Berg leads the company.\r\n"));
        app->Quit();
        QVERIFY(reader.waitUntilEnded(15000));
    }

    // Charts typed in a section are drawn on slides of their own: the
    // columns, in the deck's dark blue and teal, stand where a section
    // slide has its text.
    void aChartIsDrawnOnASlideOfItsOwn()
    {
        QPoint viewerAt;
        QVERIFY(showPlanWithFirstSection(kThreeChartsSection, viewerAt));
        const QRect body = bodyInFrame(viewerAt);
        const auto pixelsLike = [&](const QImage& screen, QRgb colour) { return pixelsIn(screen, body, colour); };
        const QRgb dark = qRgb(0x12, 0x4E, 0x66), teal = qRgb(0x1F, 0x8A, 0x8A);
        clickShow(viewerAt);
        QVERIFY(waitForSlide(viewerAt, isWhite, 10000));
        const QImage textSlide = mProgram.screenshot();
        QVERIFY(pixelsLike(textSlide, teal) < 20);
        clickShow(viewerAt);
        QImage chartSlide;
        QTRY_VERIFY_WITH_TIMEOUT(pixelsLike(chartSlide = mProgram.screenshot(), teal) > 200, 10000);
        QVERIFY2(pixelsLike(chartSlide, dark) > 200, qPrintable(keepScreen(chartSlide)));
        const QString kept = QDir::temp().filePath("orvendale-e2e-chart.png");
        chartSlide.copy(QRect(viewerAt, QSize(536, 640))).save(kept);
        qInfo("the chart slide in the frame: %s", qPrintable(kept));
    }

    // Rows copied from a spreadsheet and pasted into a section get their
    // "Table:" line, the title typed after it, and the table is drawn on a
    // slide of its own: its header row in the deck's dark blue stands where
    // a section slide has its text, its rows on the slide's white.
    void aPastedTableIsDrawnOnASlideOfItsOwn()
    {
        QVERIFY(restartWithFirstSection("Who we beat\r\n"));
        QProcess spreadsheet;
        spreadsheet.start(QCoreApplication::applicationDirPath() + "/clipboard_owner",
                          {"Who\tPrice\tLocal?\nFjordlight\t12\tyes\nAcme Greens\t15\tno\nBasket Co\t11\tno\n"});
        const auto endSpreadsheet = qScopeGuard([&] {
            spreadsheet.terminate();
            if (!spreadsheet.waitForFinished(5000))
                spreadsheet.kill();
            spreadsheet.waitForFinished(5000);
        });
        QVERIFY(spreadsheet.waitForReadyRead(10000));
        mProgram.click(mInputAt + kFirstSectionBox);
        mProgram.key("ctrl+End");
        mProgram.key("ctrl+v");
        mProgram.type("Competitors");
        QTRY_COMPARE_WITH_TIMEOUT(stored("FirstStatement_0"),
                                  QString("Who we beat\r\nTable: Competitors\r\nWho\tPrice\tLocal?\r\nFjordlight\t12\t"
                                          "yes\r\nAcme Greens\t15\tno\r\nBasket Co\t11\tno\r\n"),
                                  10000);
        QPoint viewerAt;
        QVERIFY(createDeck(viewerAt));
        QVERIFY(waitForSlide(viewerAt, isTitleSlideColour, 30000));
        const QRect body = bodyInFrame(viewerAt);
        const QRgb dark = qRgb(0x12, 0x4E, 0x66);
        clickShow(viewerAt);
        QVERIFY(waitForSlide(viewerAt, isWhite, 10000));
        QVERIFY(pixelsIn(mProgram.screenshot(), body, dark) < 20);
        clickShow(viewerAt);
        QImage tableSlide;
        QTRY_VERIFY_WITH_TIMEOUT(pixelsIn(tableSlide = mProgram.screenshot(), body, dark) > 300, 10000);
        QVERIFY2(pixelsIn(tableSlide, body, qRgb(0xFF, 0xFF, 0xFF)) > 3000, qPrintable(keepScreen(tableSlide)));
        const QString kept = QDir::temp().filePath("orvendale-e2e-table.png");
        tableSlide.copy(QRect(viewerAt, QSize(536, 640))).save(kept);
        qInfo("the table slide in the frame: %s", qPrintable(kept));
    }

    // A logo chosen through its dialog and a design chosen from the menu
    // change the show: the title slide before and after, compared.
    void aLogoAndADesignChangeTheShow()
    {
        if (mProgram.running()) {
            mProgram.signal(SIGTERM);
            QVERIFY(mProgram.waitForExit(20000));
        }
        QVERIFY(startProgram());
        QTemporaryDir folder;
        QImage logo(300, 100, QImage::Format_RGB32);
        logo.fill(qRgb(0xC0, 0x39, 0x2B));
        QVERIFY(logo.save(folder.filePath("logo.png")));
        // The title slide in the frame, once shown.
        const auto titleSlide = [&](bool (*check)(QRgb)) -> QImage {
            QPoint viewerAt;
            if (!createDeck(viewerAt) || !waitForSlide(viewerAt, check, 30000))
                return QImage();
            QTest::qWait(1000);
            const QImage slide = mProgram.screenshot().copy(QRect(viewerAt, QSize(536, 600)));
            mProgram.click(viewerAt + kBackButton);
            const bool back = QTest::qWaitFor(
                [&] { return mProgram.visibleWindows("Orvendale") == QList<unsigned long>{mInput}; }, 10000);
            return back ? slide : QImage();
        };
        const auto logoPixels = [](const QImage& slide) {
            int red = 0;
            for (int y = 0; y < slide.height(); ++y)
                for (int x = 0; x < slide.width(); ++x)
                    red += slide.pixel(x, y) == qRgb(0xC0, 0x39, 0x2B);
            return red;
        };
        const QImage before = titleSlide(isTitleSlideColour);
        QVERIFY(!before.isNull());
        QCOMPARE(logoPixels(before), 0);

        mProgram.click(mInputAt + kCompanyBox);
        mProgram.key("alt+d");
        QTest::qWait(500);
        mProgram.key("o");
        QCOMPARE(mProgram.answerFileDialog("Choose the Company's Logo", folder.filePath("logo.png")), QString());
        QTest::qWait(500);
        mProgram.click(mInputAt + kCompanyBox);
        QTest::qWait(500);
        mProgram.key("alt+d");
        QTest::qWait(500);
        mProgram.key("e");
        QTest::qWait(500);
        mProgram.key("d");
        // The light design's title slide is the warm paper colour.
        const QImage after = titleSlide([](QRgb pixel) { return qRed(pixel) > 235 && qRed(pixel) - qBlue(pixel) > 6; });
        QVERIFY(!after.isNull());
        QVERIFY2(logoPixels(after) > 500, qPrintable(keepScreen(after)));
        QVERIFY2(difference(before, after) > 40, qPrintable(keepScreen(after)));
        const QString kept = QDir::temp().filePath("orvendale-e2e-design.png");
        after.save(kept);
        qInfo("the title slide with a logo in the light design: %s", qPrintable(kept));
    }

    // An engine that is installed but cannot be started (here: its profile
    // cannot be made, as a file stands where the data folder should be) is
    // told once, soon after the window shows, and the program ends.
    void anEngineThatCannotStartIsToldAtStartUp()
    {
        // The run of an earlier test, and the spare engine it may be
        // starting into the data folder, end first.
        const QList<qint64> engines = mProgram.enginePids();
        if (mProgram.running()) {
            mProgram.signal(SIGTERM);
            QVERIFY(mProgram.waitForExit(20000));
        }
        for (const qint64 engine : engines)
            QTRY_VERIFY_WITH_TIMEOUT(!processAlive(engine), 15000);
        QVERIFY(QDir(mProgram.dataFolder()).removeRecursively());
        QFile(mProgram.dataFolder()).open(QIODevice::WriteOnly);
        QVERIFY(startProgram());
        QTRY_COMPARE_WITH_TIMEOUT(mProgram.visibleWindows("Orvendale").size(), 2, 30000);
        mProgram.key("Return");
        QVERIFY2(mProgram.waitForExit(10000), "the program went on without an engine");
    }
};

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
