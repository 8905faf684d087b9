#pragma once

// Drives the real program on a private X display: starts it with a user
// folder of its own, finds its windows, clicks and types with xdotool and
// reads the screen with ImageMagick's import.
#include "engine/uno/uno_engine.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

class ProgramDriver {
public:
    // Drives the program at the path; the one in the build tree by default.
    explicit ProgramDriver(QString program = QString());
    ~ProgramDriver();

    bool start(const QStringList& arguments = {});
    bool running() const;
    // Waits for the program to end by itself.
    bool waitForExit(int timeoutMs);
    // Ends the program by end (a signal sent, a window closed, a button
    // clicked), then waits until it and every engine it ran are gone: ""
    // when they are, else what is still running.
    QString endWithItsEngines(const std::function<void()>& end);
    // Sends the program a signal (SIGTERM, SIGKILL, ...).
    void signal(int signal) const;

    QString tempFolder() const { return mHome.filePath("tmp"); }
    QString storeFile() const { return mHome.filePath("config/Kervanel.json"); }
    // The program's data folder ($XDG_DATA_HOME), which holds its engine
    // profiles.
    QString dataFolder() const { return mHome.filePath("data"); }
    // What the program wrote to its standard error, every run of it.
    QString errorOutput() const;
    // Where each of the program's threads is, for a failure message about a
    // program that does not answer; empty when gdb is not installed.
    QString threadStacks() const;
    // The engine instance the program uses: the one it started or took
    // last, while it runs; 0 otherwise.
    qint64 enginePid() const;
    // Every engine of the program that runs, spares included.
    QList<qint64> enginePids() const;
    // Sends the signal to pid when it is one of the program's engines, and
    // to no other process; false when it is not.
    bool signalEngine(qint64 pid, int signal) const;
    // The temporary folders of the program's engines that run.
    QStringList engineTempFolders() const;

    // The visible top-level window with this exact title, or 0.
    unsigned long visibleWindow(const QString& title) const;
    // Every visible top-level window with this exact title.
    QList<unsigned long> visibleWindows(const QString& title) const;
    // Every visible top-level window of the program, its open menus among them.
    QList<unsigned long> programWindows() const;
    // Waits until a window with the title is shown; 0 when none is.
    unsigned long waitForWindow(const QString& title, int timeoutMs) const;
    // Waits for the file dialog with the title to have the keyboard, types
    // the file name into it and presses Return until the dialog is gone: a
    // list of completions that opens late takes a Return for itself. Says
    // what went wrong, or nothing.
    QString answerFileDialog(const QString& title, const QString& fileName) const;
    // The window's position on the screen.
    QPoint windowOrigin(unsigned long window) const;
    // Clicks a mouse button: 1 the left, 3 the right.
    void click(QPoint onScreen, int button = 1) const;
    void movePointer(QPoint onScreen) const;
    void type(const QString& text) const;
    void key(const QString& keys) const;
    // Gives the window the keyboard, as a desktop's window manager does for a
    // window that opens: the private display has none.
    void giveKeyboard(unsigned long window) const;
    // Whether the keyboard is in a window the program did not make itself
    // (the engine's show, say).
    bool keyboardInAnotherProgram() const;
    // Asks the window to close, as the close box does.
    void closeWindow(unsigned long window) const;
    QImage screenshot() const;
    // One pixel of the screen, read straight from the X server: quick enough
    // to watch for a change without slowing what is timed.
    QRgb pixel(QPoint onScreen) const;
    // Visible top-level windows of the engine on the screen.
    int visibleEngineWindows() const;
    // Where input goes now, for a failure message about a click or key that
    // did nothing: the window under the pointer, the one with the keyboard,
    // and every window of the display.
    QString inputState() const;

private:
    QList<EngineSettings> engineProfiles() const;
    QString run(const QString& program, const QStringList& arguments) const;
    QList<unsigned long> searchWindows(const QStringList& criteria) const;
    // The window that has the keyboard, as the display names it.
    QString focusedWindow() const;

    QTemporaryDir mHome;
    QString mProgramPath;
    QProcess mProgram;
};
