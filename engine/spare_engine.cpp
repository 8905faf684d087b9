#include "spare_engine.h"

#include "uno_values.h"

#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>

namespace {

// Spare profiles a copy of the program may lock: enough for a few copies
// running at once.
constexpr int kSlots = 8;

EngineSettings slotSettings(const EngineSettings& settings, int slot)
{
    EngineSettings spare = settings;
    spare.profileDir = QStringLiteral("%1-spare-%2").arg(settings.profileDir).arg(slot);
    spare.pipeName = QStringLiteral("%1-spare-%2").arg(settings.pipeName).arg(slot);
    return spare;
}

// The next spare starts this long after one was taken: started at once, it
// would compete for the processor with the deck being opened in the taken
// engine, which the user watches.
constexpr auto kNextSpareDelay = std::chrono::seconds(1);

// Tells a spare waiting to start to start now, or not at all.
struct StartSignal {
    std::mutex mutex;
    std::condition_variable changed;
    bool now = false;
    bool cancelled = false;

    void startNow() { raise(now); }
    void cancel() { raise(cancelled); }

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

struct Spares {
    std::mutex mutex;
    QString forProfile;  // the profile of the engines the spares stand in for
    // The two profiles this copy holds, locked while it runs.
    std::vector<std::pair<int, std::unique_ptr<QLockFile>>> profiles;
    int next = 0;
    std::optional<std::future<std::optional<SpareEngine::Started>>> starting;
    std::shared_ptr<StartSignal> signal;
};

Spares& spares()
{
    static Spares* all = new Spares;  // lives as long as the process
    return *all;
}

// Locks two profiles for this copy on first use; false when none are free.
bool holdSlots(Spares& held, const EngineSettings& settings)
{
    if (held.forProfile != settings.profileDir) {
        held.profiles.clear();
        held.next = 0;
        held.forProfile = settings.profileDir;
    }
    for (int slot = 1; slot <= kSlots && held.profiles.size() < 2; ++slot) {
        const QString profile = slotSettings(settings, slot).profileDir;
        QDir().mkpath(QFileInfo(profile).absolutePath());
        auto lock = std::make_unique<QLockFile>(profile + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            held.profiles.emplace_back(slot, std::move(lock));
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

std::optional<SpareEngine::Started> startOn(const EngineSettings& settings)
{
    try {
        std::optional<EngineConnection> connection;
        EngineProcess process = EngineProcess::start(settings, [&] {
            connection = EngineConnection::open(settings.pipeName);
            return connection.has_value();
        });
        process.recordAsSpare(true);
        warmUp(*connection);
        return SpareEngine::Started{std::move(*connection), std::move(process)};
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

namespace SpareEngine {

namespace {

void prepareAfter(const EngineSettings& settings, std::chrono::milliseconds delay)
{
    Spares& held = spares();
    std::lock_guard lock(held.mutex);
    if (held.starting || !holdSlots(held, settings))
        return;
    const EngineSettings spare = slotSettings(settings, held.profiles.at(held.next).first);
    held.next = 1 - held.next;
    held.signal = std::make_shared<StartSignal>();
    held.starting = std::async(std::launch::async, [spare, delay, signal = held.signal] {
        {
            std::unique_lock wait(signal->mutex);
            signal->changed.wait_for(wait, delay, [&] { return signal->now || signal->cancelled; });
            if (signal->cancelled)
                return std::optional<Started>();
        }
        return startOn(spare);
    });
}

}  // namespace

void prepare(const EngineSettings& settings)
{
    prepareAfter(settings, std::chrono::milliseconds(0));
}

std::optional<Started> take(const EngineSettings& settings)
{
    std::optional<Started> taken;
    {
        Spares& held = spares();
        std::lock_guard lock(held.mutex);
        if (!held.starting)
            return std::nullopt;
        held.signal->startNow();
        taken = held.starting->get();
        held.starting.reset();
    }
    // A spare that ended meanwhile (killed from outside, say) is no use.
    if (taken && !taken->process.running())
        taken.reset();
    if (taken)
        taken->process.recordAsSpare(false);
    prepareAfter(settings, kNextSpareDelay);
    return taken;
}

void endUntaken()
{
    Spares& held = spares();
    std::lock_guard lock(held.mutex);
    if (!held.starting)
        return;
    held.signal->cancel();
    const std::optional<Started> spare = held.starting->get();
    held.starting.reset();
    if (spare) {
        spare->connection.terminate();
        spare->process.endInBackground(10000);
    }
}

QList<EngineSettings> allSlots(const EngineSettings& settings)
{
    QList<EngineSettings> all;
    for (int slot = 1; slot <= kSlots; ++slot)
        all << slotSettings(settings, slot);
    return all;
}

}  // namespace SpareEngine
