// Orvendale: type a business plan, get a slide deck. This is where the real
// services, the engine and both windows are made and wired together.
#include "app/command_line.h"
#include "app/deck_export.h"
#include "app/document_import.h"
#include "desktop/desktop_url_opener.h"
#include "desktop/qt_dialogs.h"
#include "desktop/skin.h"
#include "engine/uno/uno_engine.h"
#include "generator/availability_checks.h"
#include "generator/document_reading.h"
#include "input/plan_window.h"
#include "input/spell_checker.h"
#include "plan/plan_document.h"
#include "platform/x11_window_system.h"
#include "shell/desktop_recent_files.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/system_side_effects.h"
#include "shell/temporary_files.h"
#include "shell/termination.h"
#include "viewer/deck_viewer.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("orvendale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVENDALE_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = parseCommandLine(arguments);
    // The deck from the command line: no window, no display.
    if (commandLine.run == CommandLine::Run::Export) {
        QCoreApplication app(argc, argv);
        return static_cast<int>(exportDeck(commandLine.deck, commandLine.plan));
    }
    if (commandLine.run == CommandLine::Run::Import) {
        QCoreApplication app(argc, argv);
        return static_cast<int>(importDocument(commandLine.document, commandLine.plan));
    }
    if (commandLine.run != CommandLine::Run::Window)
        return answerCommandLine(commandLine);
    // The slide show is taken into the viewer as an X11 window.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);

    SettingsStore store;
    QtDialogs dialogs;
    SystemProgramEnd programEnd;
    DesktopUrlOpener urls;
    SystemClock clock;
    SystemRandom random;
    StyleSheetSkin skin;
    X11WindowSystem windows;
    UnoEngine unoEngine(windows);
    PresentationEngine& engine = unoEngine;
    const ShellServices services{store,
                                 dialogs,
                                 programEnd,
                                 urls,
                                 clock,
                                 random,
                                 skin,
                                 Product::programFolder(),
                                 Product::userDataFolder(),
                                 DesktopRecentFiles::listFile()};

    DeckViewer viewer(services, engine, windows);
    SpellChecker spelling(SpellChecker::systemDictionaryFolders(),
                          Product::userDataFolder() + QStringLiteral("/personal-words.txt"));
    PlanWindow planWindow(services, engine, spelling);
    // A deck the plan window builds runs in the viewer; "< Back" returns to
    // the plan window.
    QObject::connect(&planWindow, &PlanWindow::deckCreated, &viewer, &DeckViewer::showDeck);
    viewer.setInputWindow(&planWindow);

    // An engine that a killed run left on screen goes before this run needs
    // one; whatever this run started goes with it, however it ends.
    engine.endInstanceLeftBehind();
    TemporaryFiles::removeLeftBehind();
    programEnd.beforeEnding([&] {
        // The plan file gets the last words typed, also when the program
        // is ended by a signal within the pause before its write.
        try {
            planWindow.document().writeNow();
        } catch (const Failure& failure) {
            std::fprintf(stderr, "Orvendale: %s\n", qPrintable(failure.description()));
        }
        // What the store could not write yet gets one more try; the user's
        // close has asked already, a signal asks nothing.
        if (!store.saveUnsaved())
            std::fprintf(stderr, "Orvendale: the latest changes could not be saved to %s.\n",
                         qPrintable(QDir::toNativeSeparators(store.filePath())));
        engine.endInstancesStartedHere();
        TemporaryFiles::removeAll();
    });
    planWindow.load();
    planWindow.show();
    // A plan file named on the command line (the desktop's "open with")
    // opens as Plan > Open does; a business plan document is imported once
    // the window shows.
    if (DocumentReading::isDocument(commandLine.plan))
        QTimer::singleShot(0, &planWindow, [&] { planWindow.importDocumentFile(commandLine.plan); });
    else if (!commandLine.plan.isEmpty())
        planWindow.openPlanFile(commandLine.plan);
    // Once the window is up, an engine starts in the background, so that
    // the first deck does not wait for one; an engine that cannot be
    // started is told as a missing one is.
    QTimer::singleShot(500, [&] {
        engine.prepareSpare([&](const EngineStartFailure& failure) {
            AvailabilityChecks::tellEngineCannotStart(engine, failure, dialogs, programEnd);
        });
    });

    // Ended from outside (a logout, a kill), the program ends as the user's
    // close does, without asking anything: boxes that wait for an answer
    // would hold the end back until the session kills the program outright.
    const Termination termination([&] { programEnd.endNow(); }, [&](int) { engine.interruptCall(); });
    return app.exec();
}
