#pragma once

// A private X display and a private engine instance for one test program.
// Both are ended by process id when the tests end, and also when the test
// program is killed by a signal or crashes.
#include "engine/uno/uno_engine.h"
#include "platform/x11_window_system.h"

#include <QProcess>
#include <QSize>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

// The display becomes $DISPLAY while it lives. Of more than one monitor,
// the screen is split into as many side by side, as the window system
// reports them to programs.
class PrivateDisplay {
public:
    explicit PrivateDisplay(QSize screen = QSize(1280, 1024), int monitors = 1);
    ~PrivateDisplay();
    bool ok() const { return mPid > 0; }

private:
    QProcess mServer;
    qint64 mPid = 0;
    std::optional<QByteArray> mDisplayBefore =
        qEnvironmentVariableIsSet("DISPLAY") ? std::optional(qgetenv("DISPLAY")) : std::nullopt;
};

class PrivateEngine {
public:
    PrivateEngine();
    ~PrivateEngine();

    EngineSettings settings() const { return mSettings; }
    // The engine layer on this instance's pipe and profile.
    UnoEngine engine() { return UnoEngine(mWindows, mSettings); }
    // The process id of the instance running on the private pipe, or 0.
    qint64 pid() const;
    bool running() const;
    // Waits up to timeoutMs for the instance to end.
    bool waitUntilEnded(int timeoutMs) const;
    // Ends the instance, whatever state it is in.
    void kill();
    // Settings of an engine, on a profile of its own in this instance's
    // folder, whose program is a shell script standing in for the engine
    // (one that ends at once, one that hangs); it passes for installed.
    EngineSettings withStandInProgram(const QString& name, const QByteArray& script) const;
    // Sends the signal to pid when it is an engine running on one of this
    // instance's profiles, and to no other process; false when it is not.
    bool signal(qint64 pid, int signal) const;

private:
    QTemporaryDir mFolder;
    std::optional<QByteArray> mTempBefore =
        qEnvironmentVariableIsSet("TEMP") ? std::optional(qgetenv("TEMP")) : std::nullopt;
    EngineSettings mSettings;
    X11WindowSystem mWindows;
};

// Keeps every processor of the machine busy while it lives, as a machine
// doing other work is: for timing faults that a quiet machine hides.
class BusyProcessors {
public:
    BusyProcessors();
    ~BusyProcessors();

private:
    std::vector<std::unique_ptr<QProcess>> mSpinners;
};

// The template deck built beside the program.
QString templateDeck();
// A writable copy of the template deck at path, replacing what was there;
// returns path.
QString copyOfTemplateDeck(const QString& path);

// True when pid is an engine running on a profile below folder: a pid that
// a test reads from a file is signalled only then (0 or a pid the system
// has given to another process since would hit whatever runs the test).
bool isEngineBelow(qint64 pid, const QString& folder);

// True while the process runs (a zombie has ended).
bool processAlive(qint64 pid);
// True once every thread of the process has stopped (SIGSTOP stops each
// thread on its own time).
bool allThreadsStopped(qint64 pid);
// Waits until the process has used no processor time for a while: an engine
// that shows a new slide takes input only once it settled, and drops a
// click or key that waited meanwhile. False after timeoutMs.
bool waitUntilSettled(qint64 pid, int timeoutMs);
