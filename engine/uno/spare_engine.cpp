#include "engine/uno/spare_engine.h"

#include "engine/uno/call_watchdog.h"
#include "engine/uno/uno_values.h"
#include "shell/failure.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <chrono>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>

namespace {

// The next spare starts this long after one was taken: started at once, it
// would compete for the processor with the deck being opened in the taken
// engine, which the user watches.
constexpr auto kNextSpareDelay = std::chrono::seconds(1);

// Tells a spare waiting to start to start now, or not at all; a spare
// still starting when it is cancelled gives up at its next look.
struct StartSignal {
    std::mutex mutex;
    std::condition_variable changed;
    bool now = false;
    bool cancelled = false;
    bool ended = false;  // the start came to an end, started or failed
    bool failed = false;

    void startNow() { raise(now); }
    void cancel() { raise(cancelled); }
    bool isCancelled()
    {
        std::lock_guard lock(mutex);
        return cancelled;
    }

private:
    void raise(bool& flag)
    {
        {
            std::lock_guard lock(mutex);
            flag = true;
        }
        changed.notify_all();
    }
};

// Thrown inside a spare's start that was cancelled.
struct Cancelled {};

struct Spares {
    std::mutex mutex;
    QString forProfile;  // the profile of the engines the spares stand in for
    // The two profiles this copy holds, locked while it runs.
    std::vector<std::pair<int, std::unique_ptr<QLockFile>>> profiles;
    int next = 0;
    std::optional<std::future<SpareEngine::TakenSpare>> starting;
    EngineSettings startingOn;  // the profile of the spare starting
    std::shared_ptr<StartSignal> signal;
    // Starts that did not end even after their engine was killed: kept, as
    // letting go of one would wait for its thread.
    std::vector<std::future<SpareEngine::TakenSpare>> abandoned;
};

Spares& spares()
{
    static Spares* all = new Spares;  // lives as long as the process
    return *all;
}

// Locks two profiles for this copy on first use; false when none are free.
bool holdSpareProfiles(Spares& held, const EngineSettings& settings)
{
    if (held.forProfile != settings.profileDir) {
        held.profiles.clear();
        held.next = 0;
        held.forProfile = settings.profileDir;
    }
    for (int number = 1; number <= EngineSettings::kSpareProfiles && held.profiles.size() < 2; ++number) {
        const QString profile = settings.spareProfile(number).profileDir;
        auto lock = std::make_unique<QLockFile>(profile + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            held.profiles.emplace_back(number, std::move(lock));
    }
    return held.profiles.size() == 2;
}

// Opens an empty presentation out of sight and closes it again: the engine
// loads its presentation module, fonts and drawing now, in the background,
// rather than while the user watches a deck open (a deck's open and its
// first steps take about 100 ms less). A spare that cannot is still a spare.
void warmUp(const EngineConnection& connection)
{
    using namespace com::sun::star;
    try {
        uno::Sequence<beans::PropertyValue> arguments(1);
        arguments.getArray()[0] = unoProperty("Hidden", uno::Any(true));
        const uno::Reference<util::XCloseable> presentation(
            uno::Reference<frame::XComponentLoader>(connection.desktop(), uno::UNO_QUERY_THROW)
                ->loadComponentFromURL("private:factory/simpress", "_blank", 0, arguments),
            uno::UNO_QUERY_THROW);
        presentation->close(true);
    } catch (const uno::Exception&) {
    }
}

SpareEngine::TakenSpare startOn(const EngineSettings& settings, StartSignal& signal)
{
    try {
        std::optional<EngineConnection> connection;
        EngineProcess process = EngineProcess::start(
            settings,
            [&] {
                if (signal.isCancelled())
                    throw Cancelled();
                connection = EngineConnection::open(settings.pipeName);
                return connection.has_value();
            },
            EngineProcess::Use::AsSpare);
        warmUp(*connection);
        return {SpareEngine::StartedSpare{std::move(*connection), std::move(process)}, {}};
    } catch (const EngineStartFailed& failed) {
        return {std::nullopt, failed.failure()};
    } catch (const Failure& failure) {
        return {std::nullopt, EngineStartFailure{EngineStartFailure::Cause::Broken, failure.description()}};
    } catch (...) {
        return {};
    }
}

// How long a killed spare's start may take to end.
constexpr auto kKilledStartEnds = std::chrono::seconds(5);

// What the spare's start came to, waiting for it at most for the deadline:
// one that has not ended by then is cancelled and its engine killed by its
// pid, which ends the calls its start waits in. None when even that start
// does not end.
std::optional<SpareEngine::TakenSpare> finishStart(Spares& held, std::chrono::milliseconds deadline)
{
    std::future<SpareEngine::TakenSpare>& starting = *held.starting;
    const bool killed = starting.wait_for(deadline) != std::future_status::ready;
    if (killed) {
        held.signal->cancel();
        EngineProcess::recorded(held.startingOn).endInBackground(0);
        if (starting.wait_for(kKilledStartEnds) != std::future_status::ready) {
            held.abandoned.push_back(std::move(starting));
            held.starting.reset();
            return std::nullopt;
        }
    }
    SpareEngine::TakenSpare outcome = starting.get();
    held.starting.reset();
    // A start that failed because it was killed here says nothing of how
    // another start would end.
    if (killed)
        outcome.startFailure.reset();
    return outcome;
}

}  // namespace

namespace SpareEngine {

namespace {

void prepareAfter(const EngineSettings& settings, std::chrono::milliseconds delay, StartFailed onStartFailed)
{
    Spares& held = spares();
    std::lock_guard lock(held.mutex);
    if (held.starting)
        return;
    // Without a folder for the profiles no engine can start, spare or not.
    const QString folder = QFileInfo(settings.profileDir).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (onStartFailed)
            onStartFailed({EngineStartFailure::Cause::Broken,
                           QStringLiteral("The folder %1 for the presentation engine's profile could not be created.")
                               .arg(QDir::toNativeSeparators(folder))});
        return;
    }
    if (!holdSpareProfiles(held, settings))
        return;
    held.startingOn = settings.spareProfile(held.profiles.at(held.next).first);
    held.next = 1 - held.next;
    held.signal = std::make_shared<StartSignal>();
    held.starting = std::async(std::launch::async, [spare = held.startingOn, delay, signal = held.signal,
                                                    onStartFailed = std::move(onStartFailed)] {
        {
            std::unique_lock wait(signal->mutex);
            signal->changed.wait_for(wait, delay, [&] { return signal->now || signal->cancelled; });
            if (signal->cancelled)
                return TakenSpare();
        }
        TakenSpare outcome = startOn(spare, *signal);
        {
            std::lock_guard ended(signal->mutex);
            signal->ended = true;
            signal->failed = !outcome.spare;
        }
        if (outcome.startFailure && onStartFailed && !signal->isCancelled())
            onStartFailed(*outcome.startFailure);
        return outcome;
    });
}

}  // namespace

Progress hurry()
{
    Spares& held = spares();
    std::lock_guard lock(held.mutex);
    if (!held.starting)
        return Progress::None;
    held.signal->startNow();
    bool ended = false, failed = false;
    {
        std::lock_guard stand(held.signal->mutex);
        ended = held.signal->ended;
        failed = held.signal->failed;
    }
    if (!ended)
        return Progress::Starting;
    if (!failed)
        return Progress::Started;
    // The start's thread is telling its failure; it ends right after.
    held.starting->wait();
    held.starting.reset();
    return Progress::Failed;
}

void prepare(const EngineSettings& settings, StartFailed onStartFailed)
{
    prepareAfter(settings, std::chrono::milliseconds(0), std::move(onStartFailed));
}

TakenSpare take(const EngineSettings& settings)
{
    std::optional<TakenSpare> taken;
    {
        Spares& held = spares();
        std::lock_guard lock(held.mutex);
        if (!held.starting)
            return {};
        held.signal->startNow();
        taken = finishStart(held, CallWatchdog::period());
    }
    if (!taken)
        taken.emplace();
    // A spare that ended meanwhile (killed from outside, say) is no use; its
    // pid file and temporary folder go.
    if (taken->spare && !taken->spare->process.running()) {
        taken->spare->process.endInBackground(0);
        taken->spare.reset();
    }
    if (taken->spare)
        taken->spare->process.recordAsTaken();
    prepareAfter(settings, kNextSpareDelay, {});
    return std::move(*taken);
}

void endUntaken()
{
    Spares& held = spares();
    std::lock_guard lock(held.mutex);
    if (!held.starting)
        return;
    held.signal->cancel();
    const std::optional<TakenSpare> outcome = finishStart(held, std::chrono::milliseconds(0));
    if (outcome && outcome->spare) {
        outcome->spare->connection.terminate();
        outcome->spare->process.endInBackground(10000);
    }
}

}  // namespace SpareEngine
