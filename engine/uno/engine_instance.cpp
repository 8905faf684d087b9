#include "engine/uno/engine_instance.h"

#include "engine/uno/engine_call.h"
#include "engine/uno/spare_engine.h"

#include <QElapsedTimer>
#include <QHash>

namespace {

// Application objects of this program share the instance on their pipe.
QHash<QString, std::weak_ptr<EngineInstance>>& instances()
{
    static QHash<QString, std::weak_ptr<EngineInstance>> map;
    return map;
}

// An engine that could not be started is not tried again for a while: the
// steps and the window that follow the failed start each need an engine,
// and each would wait as long again for the same answer.
constexpr qint64 kFailedStartKeptMs = 60000;

struct FailedStart {
    QString description;
    QElapsedTimer since;
};

// The last failed start on each profile.
QHash<QString, FailedStart>& failedStarts()
{
    static QHash<QString, FailedStart> failed;
    return failed;
}

void rememberFailedStart(const EngineSettings& settings, const QString& description)
{
    FailedStart& last = failedStarts()[settings.profileDir];
    last.description = description;
    last.since.start();
}

// A start given up because the program must end now; no failure of the
// engine, so not remembered as one.
struct EngineInterrupted {};

EngineProcess startEngine(const EngineSettings& settings, std::optional<EngineConnection>& connection,
                          const std::function<bool()>& interrupted)
{
    auto& failed = failedStarts();
    if (const auto last = failed.constFind(settings.profileDir);
        last != failed.cend() && last->since.elapsed() < kFailedStartKeptMs)
        throw EngineUnavailable(last->description);
    try {
        EngineProcess process = EngineProcess::start(settings, [&] {
            if (interrupted && interrupted())
                throw EngineInterrupted();
            connection = EngineConnection::open(settings.pipeName);
            return connection.has_value();
        });
        failed.remove(settings.profileDir);
        return process;
    } catch (const EngineInterrupted&) {
        throw EngineUnavailable(QStringLiteral("The presentation engine's start was interrupted."));
    } catch (const Failure& failure) {
        rememberFailedStart(settings, failure.description());
        throw EngineUnavailable(failure.description());
    }
}

}  // namespace

EngineInstance::EngineInstance(EngineConnection connection, EngineProcess process)
    : mConnection(std::move(connection)), mProcess(std::move(process))
{
    CallWatchdog::watchProcess(mProcess.pid());
}

std::shared_ptr<EngineInstance> EngineInstance::reach(const EngineSettings& settings, bool startIfNone,
                                                      const std::function<bool()>& interrupted)
{
    if (auto shared = instances().value(settings.pipeName).lock())
        if (!shared->mQuitRequested)
            return shared;
    // An engine still ending on this profile is not one to connect to.
    EngineProcess::waitForEnding(settings.profileDir);

    std::optional<EngineConnection> connection = EngineConnection::open(settings.pipeName);
    std::optional<EngineProcess> process;
    if (connection) {
        process = EngineProcess::recorded(settings);
    } else {
        if (!startIfNone)
            throw EngineUnavailable(QStringLiteral("The presentation engine is not running."));
        // A spare that started ahead of need becomes this program's
        // instance: the application GetObject finds from now on.
        SpareEngine::TakenSpare taken = SpareEngine::take(settings);
        if (taken.spare) {
            std::shared_ptr<EngineInstance> instance(
                new EngineInstance(std::move(taken.spare->connection), std::move(taken.spare->process)));
            instances().insert(settings.pipeName, instance);
            return instance;
        }
        // A spare that could not be started tells how a start would end,
        // unless it was only slow: this start may well be quicker.
        if (taken.startFailure && taken.startFailure->cause != EngineStartFailure::Cause::TooSlow)
            rememberFailedStart(settings, taken.startFailure->description);
        process = startEngine(settings, connection, interrupted);
    }
    std::shared_ptr<EngineInstance> instance(new EngineInstance(std::move(*connection), std::move(*process)));
    instances().insert(settings.pipeName, instance);
    return instance;
}

void EngineInstance::quit()
{
    if (mQuitRequested)
        return;
    mQuitRequested = true;
    mSelection.clear();
    mConnection.closeAllDocumentsUnsaved();
    // The engine ends while the program goes on: the process is killed when
    // it has not ended in time, which also ends a terminate call that a stuck
    // engine never answers.
    mConnection.terminate();
    mProcess.endInBackground(10000);
}

void EngineInstance::endAllStartedHere()
{
    SpareEngine::endUntaken();
    for (const auto& held : std::as_const(instances()))
        if (const auto instance = held.lock(); instance && instance->mProcess.startedHere())
            instance->quit();
    EngineProcess::waitForAllEnding();
}

void EngineInstance::endLeftBehind(const EngineSettings& settings)
{
    for (const EngineSettings& profile : settings.withSpareProfiles())
        EngineProcess::endLeftBehind(profile);
}

EngineInstance::~EngineInstance()
{
    const struct Forget {
        qint64 pid;
        ~Forget() { CallWatchdog::forgetProcess(pid); }
    } forget{mProcess.pid()};
    // Like an automation server, an instance started for this program ends
    // when the program lets go of it, unless it shows a window or holds a
    // presentation.
    if (!mProcess.startedHere() || mQuitRequested)
        return;
    // An engine that ended by itself leaves its pid file and temporary
    // folder, which go now.
    if (!mProcess.running()) {
        mProcess.endInBackground(0);
        return;
    }
    if (mVisible)
        return;
    try {
        if (mConnection.presentationCount() == 0)
            quit();
    } catch (const Failure&) {
    }
}
