#include "viewer/deck_viewer.h"

#include "desktop/app_icon.h"
#include "desktop/back_colors.h"
#include "desktop/hover_pointer.h"
#include "desktop/window_style.h"
#include "engine/port/presentation_engine.h"
#include "generator/save_formats.h"
#include "platform/window_system.h"
#include "shell/dialogs.h"
#include "shell/error_report.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/side_effects.h"
#include "shell/temporary_files.h"
#include "shell/twips.h"
#include "shell/unsaved_changes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// A length in the screen's own pixels, in points as the show window takes
// them: 15 twips a pixel, 20 twips a point.
float points(int devicePixels)
{
    return static_cast<float>(devicePixels * 15) / 20.0f;
}

// A screen's area in its own pixels.
QRect deviceArea(const QScreen& screen)
{
    const qreal scale = screen.devicePixelRatio();
    return QRect(screen.geometry().topLeft() * scale, screen.geometry().size() * scale);
}

// A widget's size in the screen's own pixels: at a display scale above 1 a
// logical pixel covers several of them.
QSize devicePixelSize(const QWidget& widget)
{
    return (QSizeF(widget.size()) * widget.devicePixelRatioF()).toSize();
}

}  // namespace

DeckViewer::DeckViewer(ShellServices services, PresentationEngine& engine, WindowSystem& windows)
    : ProgramWindow(QStringLiteral("Form2"), services.dialogs),
      mServices(std::move(services)),
      mEngine(engine),
      mWindows(windows),
      mPointer(new HoverPointer(*this))
{
    createControls();
}

DeckViewer::~DeckViewer()
{
    mShowCheck->waitForFinished();
}

void DeckViewer::createControls()
{
    setFixedSize(twips(8040), twips(9525));
    setFont(WindowStyle::arialBold(9));

    mShowFrame = new QGroupBox(this);
    mShowFrame->setGeometry(twipsRect(120, 120, 7800, 8745));
    // The show's window becomes a child of the frame's own native window.
    mShowFrame->setAttribute(Qt::WA_NativeWindow);
    mClosingMessage = new QLabel(QStringLiteral("Please wait while the show is shutdown..."), mShowFrame);
    mClosingMessage->setGeometry(twipsRect(195, 4320, 7425, 195));
    mClosingMessage->setMinimumHeight(mClosingMessage->sizeHint().height());
    mClosingMessage->hide();

    mSaveButton = new QPushButton(QStringLiteral("Save Results"), this);
    mSaveButton->setGeometry(twipsRect(3960, 9000, 3960, 405));
    mBackButton = new QPushButton(QStringLiteral("< Back"), this);
    mBackButton->setGeometry(twipsRect(120, 9000, 3720, 405));
    for (QPushButton* button : {mSaveButton, mBackButton})
        button->setFont(WindowStyle::arialBold(11.25));
    // The frame takes its turn in the tab order, handing the keyboard on to
    // the show; Tab in the show comes back to the buttons.
    mShowFrame->setFocusPolicy(Qt::TabFocus);
    for (QWidget* control :
         {static_cast<QWidget*>(mShowFrame), static_cast<QWidget*>(mSaveButton), static_cast<QWidget*>(mBackButton)})
        control->installEventFilter(this);
    setTabOrder(mSaveButton, mBackButton);
    setTabOrder(mBackButton, mShowFrame);
    for (const auto& [control, name] :
         std::initializer_list<std::pair<QObject*, const char*>>{{mShowFrame, "showFrame"},
                                                                 {mClosingMessage, "closingMessage"},
                                                                 {mSaveButton, "saveButton"},
                                                                 {mBackButton, "backButton"}})
        control->setObjectName(QLatin1String(name));

    connect(mSaveButton, &QPushButton::clicked, this, [this] { saveResults(); });
    connect(mBackButton, &QPushButton::clicked, this, [this] { goBack(); });
    mPointer->watchButton(mSaveButton);
    mPointer->watchButton(mBackButton);
    mPointer->watchBackground(this);
    mPointer->watchBackground(mShowFrame);

    // Both windows carry the program's name as their title; this one says
    // what it is.
    setAccessibleDescription(QStringLiteral("Deck viewer"));
    mShowFrame->setToolTip(QStringLiteral("F5 presents the deck full screen; Escape brings it back here."));
    mShowFrame->setAccessibleName(QStringLiteral("Slide show"));
    mShowFrame->setAccessibleDescription(
        QStringLiteral("The deck's slide show runs here: Right or a click moves on, Left goes back. F5 presents it "
                       "full screen, Escape brings it back here."));
    for (const int key : {Qt::Key_F5, Qt::Key_Escape})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this, key] { onPresentingKey(key); });

    // The presenter ends the show on the second screen in the engine's
    // windows; the viewer notices within a tenth of a second.
    mConsoleWatch = new QTimer(this);
    mConsoleWatch->setInterval(100);
    connect(mConsoleWatch, &QTimer::timeout, this, [this] { checkConsoleShowRuns(); });

    mShowWatch = new QTimer(this);
    mShowWatch->setInterval(250);
    connect(mShowWatch, &QTimer::timeout, this, [this] { checkShowStillRuns(); });
    mShowCheck = new QFutureWatcher<ShowCheck>(this);
    connect(mShowCheck, &QFutureWatcherBase::finished, this, [this] { takeShowCheck(mShowCheck->result()); });
}

void DeckViewer::load()
{
    ErrorTrap trap = trapFor(QStringLiteral("Form_Load"));
    trap.step(100, [&] { BackColors::setSystemBackColors(*this); });
    trap.step(104, [&] {
        setWindowTitle(Product::name);
        setWindowIcon(AppIcon::icon());
    });
    mPointer->loadHandCursor(trap, mServices.programFolder);
}

void DeckViewer::firstShown()
{
    load();
    // Moved to a screen of another scale, the show keeps filling the frame.
    connect(windowHandle(), &QWindow::screenChanged, this,
            [this] { handle(QStringLiteral("Form_Resize"), [this] { fitShowToFrame(); }); });
}

void DeckViewer::showDeck(const QString& path)
{
    setDeckFile(path);
    show();
}

void DeckViewer::setVisible(bool visible)
{
    const bool shown = visible && !isVisible();
    QWidget::setVisible(visible);
    // Showing the window activates it before show() returns: the show is
    // running by the time the caller goes on. Being restored after
    // minimising leaves the running show alone.
    if (shown)
        activate();
}

void DeckViewer::activate()
{
    // The window is painted first, then waits under the busy pointer while
    // the engine starts the show.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    ErrorTrap trap = trapFor(QStringLiteral("Form_Activate"));
    trap.step(100, [&] { embedSlideShow(); });
}

void DeckViewer::embedSlideShow()
{
    mApplication = mEngine.CreateObject();
    if (!mApplication) {
        mServices.dialogs.message(QStringLiteral("Could not instantiate %1.").arg(mEngine.applicationName()));
        return;
    }
    mApplication->setDisplayAlerts(false);
    mPresentation = mApplication->Presentations().OpenWithoutWindow(mDeckFile);
    if (!mPresentation) {
        mServices.dialogs.message(QStringLiteral("Could not open the presentation."));
        return;
    }
    mPresentation->SlideShowSettings().setShowType(1);
    mShowWindow = mPresentation->SlideShowSettings().Run();
    if (!mShowWindow)
        throw Failure(QStringLiteral("The slide show of %1 did not start.").arg(QDir::toNativeSeparators(mDeckFile)));
    fitShowToFrame();
    const WindowSystem::WindowId show = mWindows.findWindow(mShowWindow->windowClass());
    if (!show)
        throw Failure(QStringLiteral("The window of the slide show could not be found, so it cannot be shown here."));
    mWindows.setParent(show, mShowFrame->winId());
    mShowWindowId = show;
    // Keys pressed in the show reach it, apart from these: F5 would do
    // nothing there, Escape would end the show, and Tab moves on to the
    // viewer's buttons.
    mWindows.watchKeys(show, {Qt::Key_F5, Qt::Key_Escape, Qt::Key_Tab}, [this](int key) { onPresentingKey(key); });
    setShowState(ShowState::InFrame);
    keyboardToShow();
    mSpokenSlides = spokenSlides();
    saySlide(1, QStringLiteral("The deck is ready: %1 slides.").arg(mSpokenSlides.size()));
}

// A deck whose texts cannot be read is still shown; its slides are then
// said by number alone.
QList<QStringList> DeckViewer::spokenSlides()
{
    try {
        return mPresentation->SpokenSlides();
    } catch (const Failure&) {
        return {};
    }
}

// The frame has the focus and the keyboard goes on into the show, so that
// the keys a presenter uses move it on. A viewer that is not the active
// window asks to be (the frame's focus then gives the keyboard on once it
// is); an active one is not asked again, as that request would reach the
// display after the keyboard was given and take it back to the window.
void DeckViewer::keyboardToShow()
{
    mShowFrame->setFocus(Qt::OtherFocusReason);
    if (!isActiveWindow())
        activateWindow();
    keyboardToFocus();
}

// Into the show while the frame has the focus; to a focused button's own
// window otherwise, as keys given to the viewer's window would reach the
// show whenever the pointer rests over it (the show's window lies inside
// the viewer's). Not while a dialog is up: the viewer's focus can come back
// after the dialog is shown (the click that opened it also activates the
// viewer), and the keyboard given then would be taken from the dialog.
void DeckViewer::keyboardToFocus()
{
    if (QApplication::activeModalWidget())
        return;
    if (QWidget* focused = focusWidget(); focused && focused != mShowFrame)
        mWindows.giveKeyboard(focused->winId());
    else if (mShowState == ShowState::InFrame)
        mWindows.giveKeyboard(mWindows.keyWindowOf(mShowWindowId));
}

// The keyboard follows the focus.
bool DeckViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        keyboardToFocus();
    return ProgramWindow::eventFilter(watched, event);
}

void DeckViewer::setShowState(ShowState state)
{
    const bool wasPresenting = isPresenting();
    mShowState = state;
    if (isPresenting() && !wasPresenting)
        say(QStringLiteral("Presenting"));
    else if (wasPresenting && state == ShowState::InFrame)
        say(QStringLiteral("Back in the viewer"));
    if (showRuns() && !mShowWatch->isActive())
        mShowWatch->start();
    else if (!showRuns())
        mShowWatch->stop();
    if (state == ShowState::WithConsole)
        mConsoleWatch->start();
    else
        mConsoleWatch->stop();
}

void DeckViewer::onPresentingKey(int key)
{
    handle(QStringLiteral("Form_KeyDown"), [&] {
        switch (mShowState) {
        case ShowState::InFrame:
            if (key == Qt::Key_F5)
                presentFullScreen();
            // Tab leaves the show for "Save Results", Shift+Tab for "< Back".
            else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                (key == Qt::Key_Tab ? mSaveButton : mBackButton)->setFocus(Qt::TabFocusReason);
                keyboardToFocus();
            }
            return;
        case ShowState::FullScreen:
        case ShowState::WithConsole: returnToFrame(); return;
        case ShowState::NoShow:
        case ShowState::Stopped:
        case ShowState::Closing: return;
        }
    });
}

void DeckViewer::presentFullScreen()
{
    if (mBusy || mShowState != ShowState::InFrame)
        return;
    // With a second screen, the audience sees the show there and the
    // presenter the console here, in the engine's own full-screen show.
    if (const QScreen* audience = otherScreen()) {
        mShowWindow->presentWithConsole(deviceArea(*audience));
        setShowState(ShowState::WithConsole);
        return;
    }
    const QRect area = deviceArea(*screen());
    mShowWindow->setWidth(points(area.width()));
    mShowWindow->setHeight(points(area.height()));
    mWindows.showOver(mShowWindowId, area);
    setShowState(ShowState::FullScreen);
}

void DeckViewer::returnToFrame()
{
    switch (mShowState) {
    case ShowState::WithConsole:
        setShowState(ShowState::InFrame);
        mShowWindow->resumeHere();
        break;
    case ShowState::FullScreen:
        setShowState(ShowState::InFrame);
        mWindows.setParent(mShowWindowId, mShowFrame->winId());
        break;
    case ShowState::NoShow:
    case ShowState::InFrame:
    case ShowState::Stopped:
    case ShowState::Closing: return;
    }
    fitShowToFrame();
    keyboardToShow();
}

void DeckViewer::checkConsoleShowRuns()
{
    if (mShowState != ShowState::WithConsole)
        return;
    bool running = true;
    try {
        running = mShowWindow->consoleShowRunning();
    } catch (const Failure&) {
        // Unable to ask, the engine has gone or lost the show.
        showStopped(StopCause::EngineGone);
        return;
    }
    if (!running) {
        ErrorTrap trap = trapFor(QStringLiteral("Form_KeyDown"));
        trap.step(104, [&] { returnToFrame(); });
    }
}

const QScreen* DeckViewer::otherScreen() const
{
    for (const QScreen* each : QGuiApplication::screens())
        if (each != screen())
            return each;
    return nullptr;
}

void DeckViewer::checkShowStillRuns()
{
    if (!showRuns() || mBusy || mShowCheck->isRunning())
        return;
    mShowCheck->setFuture(QtConcurrent::run([application = mApplication, show = mShowWindow]() -> ShowCheck {
        try {
            if (application->Presentations().Count() == 0)
                return {StopCause::DeckClosed};
            return {std::nullopt, show->shownSlide()};
        } catch (const Failure&) {
            return {StopCause::EngineGone};
        }
    }));
}

void DeckViewer::takeShowCheck(const ShowCheck& check)
{
    if (!showRuns() || mBusy)
        return;
    if (check.stopped)
        showStopped(*check.stopped);
    else if (check.slide > 0 && check.slide != mSlideSaid)
        saySlide(check.slide);
}

namespace {

// A slide's texts as one line to say: the title, then each text as a
// sentence of its own.
QString sentences(const QStringList& texts)
{
    QString line = texts.first();
    for (qsizetype i = 1; i < texts.size(); ++i) {
        static const QString ends = QStringLiteral(".:;!?");
        line += ends.contains(line.back()) ? QStringLiteral(" ") : i == 1 ? QStringLiteral(": ") : QStringLiteral(". ");
        line += texts.at(i);
    }
    return line;
}

}  // namespace

void DeckViewer::saySlide(int slide, const QString& lead)
{
    mSlideSaid = slide;
    const QStringList texts = mSpokenSlides.value(slide - 1);
    QString line = mSpokenSlides.isEmpty() ? QStringLiteral("Slide %1").arg(slide)
                                           : QStringLiteral("Slide %1 of %2").arg(slide).arg(mSpokenSlides.size());
    if (!texts.isEmpty())
        line += QStringLiteral(", ") + sentences(texts);
    say(lead.isEmpty() ? line : lead + QStringLiteral(" ") + line);
}

void DeckViewer::showStopped(StopCause cause)
{
    // A full-screen show's window would stay over the screen, black, behind
    // the message: it goes back into the frame first.
    const ShowState was = mShowState;
    setShowState(ShowState::Stopped);
    if (was == ShowState::FullScreen) {
        mWindows.setParent(mShowWindowId, mShowFrame->winId());
        activateWindow();
    }
    // Without the engine, only the deck's own format is a copy of the file.
    if (cause == StopCause::EngineGone)
        mPresentation.reset();
    mServices.dialogs.message(
        cause == StopCause::DeckClosed
            ? QStringLiteral("The slide show has stopped: the presentation engine closed the deck or is no longer "
                             "running (another copy of Orvendale may have ended it). \"Save Results\" still saves "
                             "the deck; \"< Back\" returns to your plan.")
            : QStringLiteral("The slide show has stopped: the presentation engine is no longer running (another copy "
                             "of Orvendale may have ended it). \"Save Results\" still saves the deck as a Powerpoint "
                             "file (.ppt); \"< Back\" returns to your plan."));
}

void DeckViewer::fitShowToFrame()
{
    if (!mShowWindow)
        return;
    const QSize frame = devicePixelSize(*mShowFrame);
    mShowWindow->setWidth(points(frame.width()));
    mShowWindow->setHeight(points(frame.height()));
}

void DeckViewer::saveResults()
{
    ErrorTrap trap = trapFor(QStringLiteral("PushButton6_Click"));
    if (mBusy)
        return;
    // The boxes took the keyboard; it comes back to the control that had it.
    const auto keyboardBack = qScopeGuard([this] { keyboardToFocus(); });
    trap.step(102, [&] { mBusy = true; });
    SaveTarget target;
    bool yes = false;
    bool saved = false;
    // The dialog is given its empty name, title and file types as it is
    // shown.
    SaveChoice choice;
    trap.step(116, [&] { choice = mServices.dialogs.askSaveFileName(QStringLiteral("Output File"), saveFilters()); });
    trap.step(120, [&] {
        if (!choice.fileName.isEmpty())
            target = saveTarget(choice.fileName, choice.filter);
    });
    const QString& name = target.fileName;
    if (trap.test(122, [&] { return !name.isEmpty(); })) {
        if (trap.test(124, [&] { return Files::exists(name); })) {
            trap.step(126, [&] {
                yes = mServices.dialogs.askYesNo(QStringLiteral("Are you sure you wish to overwrite ") + name
                                                 + QStringLiteral(" ?"));
            });
            // The old file is not deleted first: the new one replaces it only
            // once it is complete, so a failed save loses nothing.
        } else {
            trap.step(132, [&] { yes = true; });
        }
        if (trap.test(134, [&] { return yes; })) {
            QString refused;
            saved = trap.step(136, [&] { refused = saveDeck(target); }) && refused.isEmpty();
            if (!refused.isEmpty())
                mServices.dialogs.message(refused);
        }
    }
    // Only a save that wrote the file is "Done.": a failed one was reported,
    // and a cancelled or declined one wrote nothing.
    if (saved)
        trap.step(138, [&] { mServices.dialogs.message(QStringLiteral("Done.")); });
    trap.step(140, [&] { mBusy = false; });
}

QString DeckViewer::saveDeck(const SaveTarget& target)
{
    // A large deck takes a while to write.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    // The deck's own format is a byte-for-byte copy; the others are the
    // engine's exports of the open deck, the show running on.
    if (target.format == SaveAsFileType::Presentation) {
        Files::copyReplacing(mDeckFile, target.fileName);
        return {};
    }
    const QString shown = QDir::toNativeSeparators(target.fileName);
    if (!mPresentation)
        return QStringLiteral(
                   "%1 could not be written: the deck is not open in the presentation engine. Save it as a "
                   "Powerpoint file (.ppt) instead.")
            .arg(shown);
    try {
        Files::writeReplacing(target.fileName, [&](const QString& path) {
            // The engine's own words name the hidden file it wrote and its
            // error codes: the user hears about the file they chose.
            try {
                mPresentation->SaveCopyAs(path, target.format);
            } catch (const EngineUnavailable&) {
                throw;
            } catch (const Failure&) {
                throw Failure(QStringLiteral("%1 could not be written: the presentation engine could not save the "
                                             "deck there. Check that the folder is writable, or choose another one.")
                                  .arg(shown));
            }
        });
    } catch (const EngineUnavailable&) {
        mPresentation.reset();
        return QStringLiteral(
                   "%1 could not be written: the presentation engine is no longer running. Save the deck "
                   "as a Powerpoint file (.ppt), or go \"< Back\" and create it again.")
            .arg(shown);
    }
    return {};
}

void DeckViewer::closeShow(const QString& procedure, const std::function<void(ErrorTrap&)>& then)
{
    setShowState(ShowState::Closing);
    ErrorTrap trap = trapFor(procedure);
    trap.step(100, [&] { mClosingMessage->show(); });
    trap.step(102, [&] {
        mClosingMessage->repaint();
        QCoreApplication::processEvents();
    });
    // Without the application, or with the engine gone, there is no show to
    // close: the failure that took it was told already.
    const auto presentationOpen = [&] {
        try {
            return mApplication && mPresentation && mApplication->Presentations().Count() > 0;
        } catch (const EngineUnavailable&) {
            return false;
        }
    };
    if (trap.test(104, presentationOpen))
        trap.step(106, [&] { mPresentation->Close(); });
    trap.step(108, [&] {
        mShowWindow.reset();
        mShowWindowId = 0;
        mPresentation.reset();
        // The show's window lay over the message until now: paint it, so
        // that it is seen while the engine ends.
        mClosingMessage->repaint();
    });
    // An engine that is gone has nothing left to end.
    if (trap.test(110, [&] { return mApplication != nullptr; }))
        trap.step(112, [&] {
            try {
                mApplication->Quit();
            } catch (const EngineUnavailable&) {
            }
        });
    trap.step(114, [&] { mApplication.reset(); });
    setShowState(ShowState::NoShow);
    trap.step(116, [&] { mClosingMessage->hide(); });
    if (trap.test(118, [&] { return !mDeckFile.isEmpty(); }))
        trap.step(122, [&] {
            Files::remove(mDeckFile);
            QFile::remove(TemporaryFiles::deckLockFile(mDeckFile));
            if (!QFile::exists(mDeckFile))
                TemporaryFiles::forget(mDeckFile);
        });
    then(trap);
}

void DeckViewer::goBack()
{
    closeShow(QStringLiteral("PushButton8_Click"), [this](ErrorTrap& trap) {
        trap.step(124, [&] {
            if (mInputWindow) {
                mInputWindow->show();
                // Back where the user was, keyboard and all.
                mInputWindow->activateWindow();
                mWindows.giveKeyboard(mInputWindow->winId());
            }
        });
        trap.step(126, [&] { hide(); });
    });
}

void DeckViewer::endShowForClose()
{
    closeShow(QStringLiteral("Form_QueryUnload"), [](ErrorTrap&) {});
}

void DeckViewer::unload()
{
    UnsavedChanges::saveBeforeEnding(mServices.store, mServices.dialogs);
    mServices.programEnd.endNow();
}

void DeckViewer::closeEvent(QCloseEvent* event)
{
    event->accept();
    endShowForClose();
    unload();
}
