// The deck viewer's commands with a scripted engine and window system.
#include "desktop/back_colors.h"
#include "shell/settings_store.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fake_shell.h"
#include "tests/support/fake_windows.h"
#include "tests/support/file_bytes.h"
#include "viewer/deck_viewer.h"

#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

struct Viewer : FakeShell {
    explicit Viewer(const QString& folder)
        : FakeShell(folder + "/store.json", folder), form(services(), engine, windows)
    {
        form.setInputWindow(&inputWindow);
    }

    FakeEngine engine;
    FakeWindowSystem windows;
    QWidget inputWindow;
    DeckViewer form;

    // The window's controls, found by their names.
    QGroupBox* showFrame() { return form.findChild<QGroupBox*>("showFrame"); }
    QLabel* closingMessage() { return form.findChild<QLabel*>("closingMessage"); }
    QPushButton* saveButton() { return form.findChild<QPushButton*>("saveButton"); }
    QPushButton* backButton() { return form.findChild<QPushButton*>("backButton"); }
};

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class DeckViewerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<Viewer> v;
    QString deck;

    // "< Back", whatever the show was doing: the show ends, the engine
    // quits, the input window comes back and the deck is deleted, with
    // nothing reported.
    void backEndsEverything()
    {
        v->form.goBack();
        QVERIFY(!v->form.isPresenting());
        QVERIFY(v->engine.state.calls.contains("Quit"));
        QVERIFY(v->inputWindow.isVisible());
        QVERIFY(!QFile::exists(deck));
        QVERIFY(v->dialogs.errorReports.isEmpty());
    }

    // The show sits in the frame, sized to it, and has the keyboard. The
    // frame is 520 by 583 pixels, times the display scale (the test also
    // runs at scale 2), in points of the screen's own pixels.
    void verifyTheShowRunsInTheFrame()
    {
        const qreal scale = v->form.devicePixelRatioF();
        QVERIFY(v->engine.state.showsInWindow);
        QCOMPARE(v->windows.parent, v->showFrame()->winId());
        QVERIFY(v->windows.over.isNull());
        QCOMPARE(v->engine.state.showSize, QSizeF(390 * scale, 437.25 * scale));
        QCOMPARE(v->windows.keyboard, v->windows.found);
    }

private slots:
    void init()
    {
        mFolder = std::make_unique<QTemporaryDir>();
        v = std::make_unique<Viewer>(mFolder->path());
        deck = mFolder->filePath("ps12345678.ppt");
        writeFile(deck, "the filled deck");
        v->form.setDeckFile(deck);
    }

    void cleanup() { v.reset(); }

    void everyActivationRunsTheShowInsideTheFrame()
    {
        v->form.load();
        QCOMPARE(v->form.windowTitle(), QString("Orvendale"));
        for (int activation = 1; activation <= 2; ++activation) {
            v->form.activate();
            QCOMPARE(v->engine.state.showsRun, activation);
            QCOMPARE(v->engine.state.openPresentations, activation);
            verifyTheShowRunsInTheFrame();
        }
        // Opened in a window, without the engine's alerts; the show's
        // window found by its class, with F5, Escape and Tab watched.
        QVERIFY(!v->engine.state.alertsShown);
        QCOMPARE(v->engine.state.showType, 1);
        QCOMPARE(v->windows.lookedFor.last(), QString("fakeShowClass"));
        QCOMPARE(v->windows.watchedKeys, QList<int>({Qt::Key_F5, Qt::Key_Escape, Qt::Key_Tab}));
        QVERIFY(v->dialogs.errorReports.isEmpty());
    }

    // A screen reader is told the deck is ready with its first slide, each
    // slide the show moves to (once), and the show presented and back.
    void theShowIsSpokenSlideBySlide()
    {
        if (QGuiApplication::screens().size() > 1)
            QSKIP("presents full screen on one screen only");
        v->engine.state.slides = {{{"Title", "Fjordlight AS"}, {"Body", "Plan 2027"}},
                                  {{"Title", "Mission Statement"}, {"Body", "We grow greens"}, {"Notes", "unsaid"}},
                                  {{"Title", "The Team"}, {"Chart", "Column chart: Hires"}}};
        v->form.activate();
        QCOMPARE(v->form.lastSaid(), QString("The deck is ready: 3 slides. Slide 1 of 3, Fjordlight AS: Plan 2027"));
        // What is said once the watch found the show at the slide (within
        // a second: the engine is asked off the window's thread).
        const auto watchSees = [&](int slide) {
            const QString before = v->form.lastSaid();
            v->engine.state.shownSlide = slide;
            v->form.checkShowStillRuns();
            (void)QTest::qWaitFor([&] { return v->form.lastSaid() != before; }, 1000);
            return v->form.lastSaid();
        };
        QCOMPARE(watchSees(3), QString("Slide 3 of 3, The Team: Column chart: Hires"));
        v->windows.pressKey(Qt::Key_F5);
        QCOMPARE(v->form.lastSaid(), QString("Presenting"));
        QCOMPARE(watchSees(3), QString("Presenting"));
        QCOMPARE(watchSees(2), QString("Slide 2 of 3, Mission Statement: We grow greens"));
        v->windows.pressKey(Qt::Key_Escape);
        QCOMPARE(v->form.lastSaid(), QString("Back in the viewer"));
        QCOMPARE(watchSees(1), QString("Slide 1 of 3, Fjordlight AS: Plan 2027"));
    }

    // Return presses the button that has the focus, as Space does, though
    // the desktop's buttons leave it to their window (some platforms' press
    // it themselves: the key is given to the window here); with a modifier
    // it does not.
    void returnPressesTheFocusedButton()
    {
        v->form.activate();
        v->backButton()->setFocus();
        const auto pressInWindow = [&](Qt::KeyboardModifiers modifiers) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, modifiers);
            QApplication::sendEvent(&v->form, &key);
        };
        pressInWindow(Qt::ControlModifier);
        QVERIFY(!v->inputWindow.isVisible());
        pressInWindow(Qt::NoModifier);
        QVERIFY(v->inputWindow.isVisible());
    }

    // F5 puts the running show over the viewer's whole screen; Escape, or F5
    // again, puts it back into the frame, sized to it, as often as asked.
    // Escape in the frame leaves the show alone; "< Back" while presenting
    // ends everything as usual.
    void f5PresentsTheShowFullScreenAndEscapeBringsItBack()
    {
        v->form.activate();
        const QSize screen = v->form.screen()->geometry().size() * v->form.devicePixelRatioF();
        for (const int back : {Qt::Key_Escape, Qt::Key_F5}) {
            v->windows.keyboard = 0;
            v->windows.pressKey(Qt::Key_F5);
            QVERIFY(v->form.isPresenting());
            QCOMPARE(v->windows.over.size(), screen);
            QCOMPARE(v->engine.state.showSize, QSizeF(screen) * 0.75);
            v->windows.pressKey(back);
            QVERIFY(!v->form.isPresenting());
            verifyTheShowRunsInTheFrame();
        }
        const int changes = v->windows.changes;
        v->windows.pressKey(Qt::Key_Escape);
        QVERIFY(!v->form.isPresenting());
        QCOMPARE(v->windows.changes, changes);

        v->windows.pressKey(Qt::Key_F5);
        backEndsEverything();
    }

    // Tab in the show goes on to "Save Results", Shift+Tab to "< Back"; the
    // frame's turn in the tab order hands the keyboard back to the show.
    void tabMovesBetweenTheShowAndTheButtons()
    {
        v->form.activate();
        v->form.show();
        QVERIFY(QTest::qWaitForWindowActive(&v->form));
        v->windows.pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), v->saveButton());
        v->windows.pressKey(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), v->backButton());
        QCOMPARE(v->windows.keyboard, v->backButton()->winId());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), v->showFrame());
        QCOMPARE(v->windows.keyboard, v->windows.found);
    }

    // A click on a button of an inactive viewer that opens a dialog brings
    // the button its focus only once the dialog is up: the dialog keeps the
    // keyboard, until it closes.
    void aDialogThatIsUpKeepsTheKeyboard()
    {
        v->form.activate();
        v->saveButton()->setFocus();
        QDialog dialog(&v->form);
        dialog.setModal(true);
        dialog.show();
        v->windows.keyboard = dialog.winId();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(v->saveButton(), &focusIn);
        QCOMPARE(v->windows.keyboard, dialog.winId());
        dialog.hide();
        QCoreApplication::sendEvent(v->saveButton(), &focusIn);
        QCOMPARE(v->windows.keyboard, v->saveButton()->winId());
    }

    // With a second screen, F5 presents the deck there in the engine's own
    // full-screen show, with its console; the show goes on in the frame at
    // the slide reached once the presenter ends it there, or on Escape here.
    // A failing engine is told once; "< Back" while presenting ends it all.
    void withTwoScreensF5PresentsOnTheOtherWithTheConsole()
    {
        if (QGuiApplication::screens().size() < 2)
            QSKIP("needs two screens: test_deck_viewer_two_screens runs it with them");
        v->form.activate();
        const QScreen* audience = QGuiApplication::screens().at(v->form.screen() == QGuiApplication::screens().first());
        const QRect presentedOn(audience->geometry().x(), 0, 1280, 1024);

        // The presenter ends the show there, or the user here.
        for (const bool endedThere : {true, false}) {
            v->engine.state.consoleArea = QRect();
            v->windows.pressKey(Qt::Key_F5);
            QVERIFY(v->form.isPresenting());
            QCOMPARE(v->engine.state.consoleArea, presentedOn);
            QVERIFY(!v->engine.state.showsInWindow);
            QVERIFY(v->windows.over.isNull());
            if (endedThere) {
                v->engine.state.consoleShowRunning = false;
                QTRY_VERIFY(!v->form.isPresenting());
            } else {
                v->windows.pressKey(Qt::Key_Escape);
                QVERIFY(!v->form.isPresenting());
                QVERIFY(!v->engine.state.consoleShowRunning);
            }
            verifyTheShowRunsInTheFrame();
        }

        // The engine dies while the console shows: one message, the show
        // stopped; F5 and Escape then leave the dead engine alone.
        v->windows.pressKey(Qt::Key_F5);
        v->engine.state.consoleShowGone = true;
        v->engine.state.openPresentations = 0;
        QTest::qWait(1300);
        QCOMPARE(v->dialogs.messages.size() + v->dialogs.errorReports.size(), 1);
        QVERIFY(v->dialogs.messages.first().startsWith("The slide show has stopped"));
        QCOMPARE(v->form.showState(), DeckViewer::ShowState::Stopped);
        const int calls = v->engine.state.calls.size();
        for (const int key : {Qt::Key_F5, Qt::Key_Escape})
            v->windows.pressKey(key);
        QCOMPARE(v->engine.state.calls.size(), calls);
        backEndsEverything();
    }

    void aMissingDeckGivesOneReportAndAnEmptyFrame()
    {
        v->form.setDeckFile(mFolder->filePath("gone.ppt"));
        v->form.activate();
        QCOMPARE(v->dialogs.reportedLines(), QList<int>({100}));
        QVERIFY(v->dialogs.errorReports.first().contains("Form2.Form_Activate at line 100"));
        QVERIFY(v->windows.lookedFor.isEmpty());
        QCOMPARE(v->windows.changes, 0);
        QVERIFY(v->engine.state.running && v->engine.state.openPresentations == 0);

        // Both buttons still work.
        v->form.goBack();
        QVERIFY(v->engine.state.calls.contains("Quit"));
        QVERIFY(v->inputWindow.isVisible());
    }

    void aShowThatDoesNotStartOrCannotBeFoundIsReported()
    {
        v->engine.state.showStarts = false;
        v->form.activate();
        v->engine.state.showStarts = true;
        v->windows.found = 0;
        v->form.activate();
        QCOMPARE(v->dialogs.reportedLines(), QList<int>({100, 100}));
        QVERIFY(v->dialogs.errorReports[0].startsWith("The slide show of " + deck + " did not start."));
        QVERIFY(v->dialogs.errorReports[1].startsWith("The window of the slide show could not be found"));
        QCOMPARE(v->windows.lookedFor, QStringList({"fakeShowClass"}));
        QCOMPARE(v->windows.changes, 0);
    }

    // The show watch notices by itself, within a look or two, a show whose
    // deck went away or whose engine died, and tells it once, for its
    // cause. After the engine died, only the deck's own format can be
    // saved, which the message says; a .pptx save says why it cannot, and
    // "< Back" has nothing left to end: no error report.
    void aStoppedShowIsNoticedByTheWatchAndToldOnce_data()
    {
        QTest::addColumn<bool>("engineDied");
        QTest::addColumn<QString>("told");
        QTest::newRow("the deck closed") << false << "the presentation engine closed the deck";
        QTest::newRow("the engine died") << true << "saves the deck as a Powerpoint file (.ppt)";
    }

    void aStoppedShowIsNoticedByTheWatchAndToldOnce()
    {
        QFETCH(bool, engineDied);
        QFETCH(QString, told);
        v->form.activate();
        QTest::qWait(1200);
        QVERIFY(v->dialogs.messages.isEmpty());

        v->engine.state.openPresentations = 0;
        v->engine.state.engineDied = engineDied;
        QTRY_COMPARE_WITH_TIMEOUT(v->dialogs.messages.size(), 1, 3000);
        QVERIFY2(v->dialogs.messages.first().startsWith("The slide show has stopped")
                     && v->dialogs.messages.first().contains(told),
                 qPrintable(v->dialogs.messages.first()));
        QCOMPARE(v->form.showState(), DeckViewer::ShowState::Stopped);
        QTest::qWait(1200);
        QCOMPARE(v->dialogs.messages.size(), 1);

        if (engineDied) {
            v->dialogs.saveFileName = mFolder->filePath("deck.pptx");
            v->dialogs.saveFilter = "PowerPoint Presentation (*.pptx)";
            v->form.saveResults();
            QCOMPARE(v->dialogs.messages.last(),
                     mFolder->filePath("deck.pptx") + " could not be written: the deck is not open in the "
                                                      "presentation engine. Save it as a Powerpoint file (.ppt) instead.");
            v->dialogs.saveFileName = mFolder->filePath("deck.ppt");
            v->dialogs.saveFilter = "Powerpoint Files (*.ppt)";
            v->form.saveResults();
            QCOMPARE(v->dialogs.messages.last(), QString("Done."));
            QVERIFY(QFile::exists(mFolder->filePath("deck.ppt")));
        }
        backEndsEverything();
    }

    // An engine that dies before the watch looks: a .pptx save says so in
    // a message, and "< Back" ends the rest without an error report.
    void aSaveAfterTheEngineDiedSaysWhy()
    {
        v->form.activate();
        v->engine.state.engineDied = true;
        v->dialogs.saveFileName = mFolder->filePath("deck.pptx");
        v->dialogs.saveFilter = "PowerPoint Presentation (*.pptx)";
        v->form.saveResults();
        QCOMPARE(v->dialogs.messages,
                 QStringList{mFolder->filePath("deck.pptx")
                             + " could not be written: the presentation engine is no longer running. Save the deck as "
                               "a Powerpoint file (.ppt), or go \"< Back\" and create it again."});
        QVERIFY(!QFile::exists(mFolder->filePath("deck.pptx")));
        backEndsEverything();
    }

    // A show that stops while presented full screen comes back into the
    // frame before the message shows (not behind a black screen), and F5 and
    // Escape then do nothing.
    void aShowStoppedFullScreenComesBackBeforeItIsTold()
    {
        if (QGuiApplication::screens().size() > 1)
            QSKIP("presents full screen on one screen only");
        v->form.activate();
        v->windows.pressKey(Qt::Key_F5);
        QVERIFY(v->form.isPresenting());
        std::optional<WindowSystem::WindowId> inWhenTold;
        v->dialogs.onMessage = [&](const QString&) { inWhenTold = v->windows.parent; };
        v->engine.state.openPresentations = 0;
        v->form.checkShowStillRuns();
        QTRY_VERIFY(inWhenTold);
        QCOMPARE(*inWhenTold, v->showFrame()->winId());
        QCOMPARE(v->form.showState(), DeckViewer::ShowState::Stopped);
        const int changes = v->windows.changes;
        for (const int key : {Qt::Key_F5, Qt::Key_Escape, Qt::Key_F5})
            v->windows.pressKey(key);
        QCOMPARE(v->windows.changes, changes);
        QCOMPARE(v->dialogs.messages.size(), 1);
    }

    void saveCopiesOnlyWhenAllowedAndSaysDoneOnlyThen()
    {
        QString target = mFolder->filePath("My Plan");
        v->form.saveResults();  // cancelled
        QCOMPARE(v->dialogs.saveDialogs,
                 QStringList({"Output File|Powerpoint Files (*.ppt);;PowerPoint Presentation (*.pptx);;"
                              "OpenDocument Presentation (*.odp);;PDF Document (*.pdf)"}));
        QVERIFY(v->dialogs.messages.isEmpty());

        v->dialogs.saveFileName = target;  // typed without an extension: the file type's is added
        v->form.saveResults();
        target += ".ppt";
        QCOMPARE(readFile(target), QByteArray("the filled deck"));
        QVERIFY(v->dialogs.questions.isEmpty());
        QCOMPARE(v->dialogs.messages, QStringList({"Done."}));

        v->dialogs.saveFileName = target;
        writeFile(target, "older plan");
        v->dialogs.answers = {false};
        v->form.saveResults();
        QCOMPARE(v->dialogs.questions, QStringList({"Are you sure you wish to overwrite " + target + " ?"}));
        QCOMPARE(readFile(target), QByteArray("older plan"));
        QCOMPARE(v->dialogs.messages.size(), 1);

        v->dialogs.answers = {true};
        v->form.saveResults();
        QCOMPARE(readFile(target), QByteArray("the filled deck"));
        QCOMPARE(v->dialogs.messages, QStringList({"Done.", "Done."}));
        QVERIFY(v->dialogs.errorReports.isEmpty());
    }

    void aFailedCopyIsReportedAndKeepsTheOldFile()
    {
        const QString target = mFolder->filePath("plan.ppt");
        writeFile(target, "older plan");
        QFile::remove(deck);
        v->dialogs.saveFileName = target;
        v->form.saveResults();
        QCOMPARE(v->dialogs.reportedLines(), QList<int>({136}));
        QVERIFY(v->dialogs.errorReports.first().contains("Form2.PushButton6_Click at line 136"));
        QVERIFY(v->dialogs.messages.isEmpty());  // a failure is not followed by "Done."
        QCOMPARE(readFile(target), QByteArray("older plan"));
        QCOMPARE(QDir(mFolder->path()).entryList({".orvendale-copy-*"}, QDir::Files | QDir::Hidden).size(), 0);

        // The command is free again afterwards.
        writeFile(deck, "the filled deck");
        v->form.saveResults();
        QCOMPARE(readFile(target), QByteArray("the filled deck"));
    }

    // The typed extension picks the format whatever file type is selected;
    // without one the selected type's format and extension are used. All but
    // the deck's own format are the engine's exports of the running deck.
    void otherFormatsAreTheEnginesExportsChosenByTheTypedExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("content");
        const auto exported = [](SaveAsFileType format) { return QByteArray::number(int(format)); };
        // clang-format off
        QTest::newRow("no extension: the selected type's") << "deck" << "PDF Document (*.pdf)" << "deck.pdf" << exported(SaveAsFileType::PDF);
        QTest::newRow("typed beats selected") << "deck.odp" << "PDF Document (*.pdf)" << "deck.odp" << exported(SaveAsFileType::OpenDocumentPresentation);
        QTest::newRow("in capitals") << "deck.PPTX" << "Powerpoint Files (*.ppt)" << "deck.PPTX" << exported(SaveAsFileType::OpenXMLPresentation);
        QTest::newRow("unknown extension: the selected one added") << "deck.v2" << "OpenDocument Presentation (*.odp)" << "deck.v2.odp" << exported(SaveAsFileType::OpenDocumentPresentation);
        QTest::newRow("the deck's own format: a copy") << "deck.ppt" << "PDF Document (*.pdf)" << "deck.ppt" << QByteArray("the filled deck");
        // clang-format on
    }

    void otherFormatsAreTheEnginesExportsChosenByTheTypedExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, content);
        v->form.show();
        v->dialogs.saveFileName = mFolder->filePath(typed);
        v->dialogs.saveFilter = filter;
        v->form.saveResults();
        QCOMPARE(readFile(mFolder->filePath(written)), content);
        QVERIFY(v->dialogs.errorReports.isEmpty());
        QCOMPARE(v->dialogs.messages.size(), 1);  // "Done."
    }

    // A failed export keeps the old file and leaves no partial one.
    void aFailedExportIsToldAndKeepsTheOldFile()
    {
        v->form.show();
        v->engine.state.exportFails = true;
        writeFile(mFolder->filePath("deck.pdf"), "older plan");
        v->dialogs.saveFileName = mFolder->filePath("deck.pdf");
        v->dialogs.saveFilter = "PDF Document (*.pdf)";
        v->form.saveResults();
        QCOMPARE(v->dialogs.reportedLines(), QList<int>({136}));
        // Told in the user's words, about the file the user chose.
        QVERIFY2(v->dialogs.errorReports.first().startsWith(mFolder->filePath("deck.pdf")
                                                            + " could not be written: "
                                                              "the presentation engine could not save the deck there."),
                 qPrintable(v->dialogs.errorReports.first()));
        QVERIFY(v->engine.state.busyPointerAtExport);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(readFile(mFolder->filePath("deck.pdf")), QByteArray("older plan"));
        QCOMPARE(QDir(mFolder->path()).entryList({".orvendale-copy-*"}, QDir::Files | QDir::Hidden).size(), 0);
        QVERIFY(v->dialogs.messages.isEmpty());  // no "Done." after a failure
    }

    void backClosesTheShowDeletesTheDeckAndShowsTheInputWindow()
    {
        v->form.show();
        QCoreApplication::processEvents();  // the activation that showing queues
        QCOMPARE(v->engine.state.openPresentations, 1);
        // The message is painted once the show is closed, before the wait
        // for the engine to end.
        PaintCounter paints(v->closingMessage());
        int atClose = 0, betweenCloseAndQuit = 0;
        v->engine.state.onCloseOrQuit = [&](const QString& call) {
            (call == "Close" ? atClose : betweenCloseAndQuit) = paints.count - atClose;
        };
        v->form.goBack();
        QVERIFY(betweenCloseAndQuit > 0);
        const QStringList& calls = v->engine.state.calls;
        QCOMPARE(calls.mid(calls.size() - 2), QStringList({"Close", "Quit"}));
        QVERIFY(!v->engine.state.running && v->engine.state.openPresentations == 0);
        QVERIFY(!QFile::exists(deck));
        QVERIFY(v->inputWindow.isVisible());
        QVERIFY(!v->form.isVisible());
        QVERIFY(!v->closingMessage()->isVisible());
        QVERIFY(v->dialogs.errorReports.isEmpty());
        QCOMPARE(v->form.deckFile(), deck);
    }

    // The engine that could not start is told once, when the show would
    // start; closing has no show to close and says nothing more.
    void closingWithoutAnApplicationReportsOnceStillDeletesAndEnds()
    {
        v->engine.state.installed = false;
        v->form.show();
        QCoreApplication::processEvents();
        v->form.close();
        QCOMPARE(v->dialogs.reportedLines(), QList<int>({100}));
        QVERIFY(!QFile::exists(deck));
        QCOMPARE(v->programEnd.ends, 1);
        QVERIFY(!v->inputWindow.isVisible());
    }

    void layoutPutsTheButtonsUnderTheFrame()
    {
        QCOMPARE(v->form.size(), QSize(536, 635));
        QCOMPARE(v->showFrame()->geometry(), QRect(8, 8, 520, 583));
        QCOMPARE(v->backButton()->geometry(), QRect(8, 600, 248, 27));
        QCOMPARE(v->saveButton()->geometry().right(), v->showFrame()->geometry().right());
        QCOMPARE(v->closingMessage()->text(), QString("Please wait while the show is shutdown..."));
        // The show's frame is drawn as a frame, and takes the button face
        // colour with its label, which starts at its left edge.
        v->form.load();
        QVERIFY(v->showFrame()->title().isEmpty());
        QCOMPARE(v->showFrame()->accessibleName(), QString("Slide show"));
        for (QWidget* coloured : {static_cast<QWidget*>(v->showFrame()), static_cast<QWidget*>(v->closingMessage())})
            QCOMPARE(coloured->palette().color(QPalette::Window), BackColors::buttonFaceColor());
        QVERIFY(v->closingMessage()->alignment() & Qt::AlignLeft);
    }
};

QTEST_MAIN(DeckViewerTest)
#include "test_deck_viewer.moc"
