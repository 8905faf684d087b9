#pragma once

#include "desktop/program_window.h"
#include "desktop/services.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class ErrorTrap;
class HoverPointer;
class Presentation;
class PresentationApplication;
class PresentationEngine;
class QGroupBox;
class QLabel;
class QPushButton;
class QScreen;
class QTimer;
template <typename T>
class QFutureWatcher;
class SlideShowWindow;
struct SaveTarget;
class WindowSystem;

// The deck viewer: runs the deck named by deckFile() as a slide show inside
// its frame, saves it to a file of the user's choice, and closes the show
// when the user goes back or closes the window.
class DeckViewer : public ProgramWindow {
    Q_OBJECT
public:
    DeckViewer(ShellServices services, PresentationEngine& engine, WindowSystem& windows);
    ~DeckViewer() override;

    // The window "< Back" shows again.
    void setInputWindow(QWidget* inputWindow) { mInputWindow = inputWindow; }
    // Takes the deck at path and shows it: the show runs when this returns.
    void showDeck(const QString& path);

    // The deck the window shows; it stays named after the show is closed,
    // for the program's end to delete.
    const QString& deckFile() const { return mDeckFile; }
    // The deck the next activation shows, without showing the window.
    void setDeckFile(const QString& path) { mDeckFile = path; }
    HoverPointer& pointer() { return *mPointer; }

    void setVisible(bool visible) override;

    void load();
    void activate();
    void saveResults();
    void goBack();
    void endShowForClose();
    void unload();
    // While the show runs, checks four times a second that its deck is
    // still open in the engine, and which slide it shows: a deck no longer
    // open is told once, a slide reached is said to a screen reader. The
    // engine is asked off the window's thread, so that an engine that hangs
    // does not hold the window up; the answer is taken on it, once there.
    void checkShowStillRuns();
    // F5 presents the show full screen on the screen that holds the viewer,
    // or with a second screen on that one with the engine's presenter console
    // on the viewer's, and brings it back into the frame; Escape brings it
    // back.
    void presentFullScreen();
    void returnToFrame();

    // Where the show stands: none yet (or closed), running in the frame,
    // presented full screen on the viewer's screen, presented on another
    // screen with the engine's console on this one, stopped by the engine,
    // or closing.
    enum class ShowState { NoShow, InFrame, FullScreen, WithConsole, Stopped, Closing };
    ShowState showState() const { return mShowState; }
    bool isPresenting() const { return mShowState == ShowState::FullScreen || mShowState == ShowState::WithConsole; }
    // Whether a show runs, in the frame or presented.
    bool showRuns() const { return mShowState == ShowState::InFrame || isPresenting(); }

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void embedSlideShow();
    // Sizes the show's window to the frame, in the screen's own pixels.
    void fitShowToFrame();
    // Writes the deck to the file in its format; returns why it cannot,
    // when that is the engine's absence rather than a fault: "" once written.
    QString saveDeck(const SaveTarget& target);
    // The steps "< Back" and closing the window share.
    void closeShow(const QString& procedure, const std::function<void(ErrorTrap&)>& then);
    void onPresentingKey(int key);
    void keyboardToShow();
    // Gives the keyboard to the viewer's control that has the focus: into
    // the show for its frame.
    void keyboardToFocus();
    // Brings the show back into the frame once the presenter ended the
    // show presented with the console.
    void checkConsoleShowRuns();
    // A screen other than the viewer's, or none.
    const QScreen* otherScreen() const;
    // The one place the show's state changes; the watches run in the states
    // that need them.
    void setShowState(ShowState state);
    // Why a show stopped under the viewer.
    enum class StopCause { DeckClosed, EngineGone };
    // What the show watch found: why the show stopped, or the slide it is at.
    struct ShowCheck {
        std::optional<StopCause> stopped;
        int slide = 0;
    };
    void takeShowCheck(const ShowCheck& check);
    QList<QStringList> spokenSlides();
    // Says the slide to a screen reader: its number, title, text and the
    // descriptions of its drawings and charts, after lead when one is given.
    void saySlide(int slide, const QString& lead = QString());
    // The show stopped under the viewer: back into the frame, then told once.
    void showStopped(StopCause cause);

    QString mDeckFile;
    std::shared_ptr<PresentationApplication> mApplication;
    std::shared_ptr<Presentation> mPresentation;

    // The controls carry their names as object names, by which tests and
    // tools find them.
    QGroupBox* mShowFrame;  // a frame without a caption, which holds the show
    QLabel* mClosingMessage;
    QPushButton* mSaveButton;
    QPushButton* mBackButton;

    ShellServices mServices;
    PresentationEngine& mEngine;
    WindowSystem& mWindows;
    QWidget* mInputWindow = nullptr;
    HoverPointer* mPointer;
    std::shared_ptr<SlideShowWindow> mShowWindow;
    // The show's window as the window system knows it, once in the frame.
    unsigned long mShowWindowId = 0;
    ShowState mShowState = ShowState::NoShow;
    QTimer* mShowWatch;
    // The show watch's question to the engine, while it is asked.
    QFutureWatcher<ShowCheck>* mShowCheck;
    // What each slide of the deck says, read once as the show starts, and
    // the slide last said.
    QList<QStringList> mSpokenSlides;
    int mSlideSaid = 0;
    QTimer* mConsoleWatch;
    bool mBusy = false;
};
