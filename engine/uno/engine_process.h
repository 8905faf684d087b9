#pragma once

#include "engine/port/presentation_engine.h"
#include "engine/uno/engine_settings.h"

#include <QString>
#include <QStringList>

#include <functional>

// A start of the engine that failed, and why.
class EngineStartFailed : public Failure {
public:
    EngineStartFailed(EngineStartFailure::Cause cause, const QString& description) : Failure(description), mCause(cause)
    {
    }
    EngineStartFailure failure() const { return {mCause, description()}; }

private:
    EngineStartFailure::Cause mCause;
};

// The engine's process on a profile: one that this program starts, or one
// that its pid file records. A pid is signalled only while it names the
// engine program running on that profile, so a pid the system has given to
// another process since is never touched. Every wait is bounded.
class EngineProcess {
public:
    // Whether an engine is started for use now or as a spare, ahead of need;
    // its pid file says which from the first moment.
    enum class Use { Now, AsSpare };
    // Starts the engine and waits until answers() says it answers on its
    // pipe; throws EngineStartFailed when it cannot be started or does not
    // answer.
    static EngineProcess start(const EngineSettings& settings, const std::function<bool()>& answers,
                               Use use = Use::Now);
    // The engine the pid file records, when it is ours; none otherwise.
    static EngineProcess recorded(const EngineSettings& settings);
    // Ends an engine that a program which has ended left on the profile
    // (killed, say, or gone with its display), with the temporary decks it
    // recorded and its temporary folder; the decks go also when the engine
    // has ended too. Whether its program has ended, the lock that program
    // held on the pid file tells.
    static void endLeftBehind(const EngineSettings& settings);
    // Whether the engine program and its presentation module are installed.
    static bool installed(const EngineSettings& settings);

    qint64 pid() const { return mPid; }
    bool startedHere() const { return mStartedHere; }
    bool running() const;
    // Records in the pid file that the engine is a spare no longer.
    void recordAsTaken() const;
    // Records in the pid file a temporary deck the engine opened, so that
    // the next start removes it should this program end without doing so.
    void recordDeck(const QString& deck) const;
    // Leaves the process to end by itself within graceMs, then kills it,
    // without waiting here; once it has ended, its pid file and temporary
    // folder go.
    void endInBackground(int graceMs) const;
    // Waits for the processes on the profile that are ending in the
    // background (a new engine on a profile hands its work to one still
    // there); every wait is bounded by its grace and a kill.
    static void waitForEnding(const QString& profileDir);
    static void waitForAllEnding();

private:
    EngineProcess() = default;

    void waitForEnd(int graceMs) const;

    qint64 mPid = 0;
    bool mStartedHere = false;
    QString mProfileDir;
    QString mPidFile;
    QString mTempFolder;
};
