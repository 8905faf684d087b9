#pragma once

// A private X display and a private engine instance for one test program.
// Both are ended by process id when the tests end, and also when the test
// program is killed by a signal or crashes.
#include "uno_engine.h"
#include "x11_window_system.h"

#include <QProcess>
#include <QTemporaryDir>

#include <optional>

class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    bool ok() const { return mPid > 0; }

private:
    QProcess mServer;
    qint64 mPid = 0;
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

private:
    QTemporaryDir mFolder;
    std::optional<QByteArray> mTempBefore =
        qEnvironmentVariableIsSet("TEMP") ? std::optional(qgetenv("TEMP")) : std::nullopt;
    EngineSettings mSettings;
    X11WindowSystem mWindows;
};

// The template deck built beside the program.
QString templateDeck();
// A writable copy of the template deck at path, replacing what was there;
// returns path.
QString copyOfTemplateDeck(const QString& path);

// True while the process runs (a zombie has ended).
bool processAlive(qint64 pid);
// True once every thread of the process has stopped (SIGSTOP stops each
// thread on its own time).
bool allThreadsStopped(qint64 pid);
