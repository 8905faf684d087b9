#include "engine/uno/uno_engine.h"

#include "engine/uno/call_watchdog.h"
#include "engine/uno/engine_instance.h"
#include "engine/uno/engine_profile.h"
#include "engine/uno/spare_engine.h"
#include "engine/uno/uno_application.h"

#include <QCoreApplication>
#include <QTimer>

UnoEngine::UnoEngine(WindowSystem& windows, EngineSettings settings) : mWindows(windows), mSettings(std::move(settings))
{
}

std::shared_ptr<PresentationApplication> UnoEngine::CreateObject()
{
    return unoApplication(
        EngineInstance::reach(mSettings, true, [interrupted = mInterrupted] { return interrupted->load(); }), mWindows);
}

std::shared_ptr<PresentationApplication> UnoEngine::GetObject()
{
    return unoApplication(EngineInstance::reach(mSettings, false), mWindows);
}

bool UnoEngine::CanCreateObject()
{
    return EngineProcess::installed(mSettings);
}

void UnoEngine::prepareSpare(std::function<void(const EngineStartFailure& failure)> onStartFailed)
{
    SpareEngine::StartFailed told;
    if (onStartFailed)
        told = [onStartFailed = std::move(onStartFailed)](const EngineStartFailure& failure) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [=] { onStartFailed(failure); }, Qt::QueuedConnection);
        };
    SpareEngine::prepare(mSettings, std::move(told));
}

void UnoEngine::whenSpareSettled(std::function<void(bool startFailed)> then)
{
    // The spare's start runs on a thread of its own; a look every 50 ms
    // costs nothing and keeps the wait within a frame or two of its end.
    // A start that had failed before this wait began was told then, and
    // holds nothing up: the next CreateObject starts afresh.
    auto* look = new QTimer(QCoreApplication::instance());
    look->setInterval(50);
    QObject::connect(look, &QTimer::timeout, look, [look, then = std::move(then), waited = false]() mutable {
        const SpareEngine::Progress progress = SpareEngine::hurry();
        if (progress == SpareEngine::Progress::Starting) {
            waited = true;
            return;
        }
        look->deleteLater();
        look->stop();
        then(waited && progress == SpareEngine::Progress::Failed);
    });
    look->start(0);
}

void UnoEngine::endInstancesStartedHere()
{
    EngineInstance::endAllStartedHere();
}

void UnoEngine::interruptCall()
{
    *mInterrupted = true;
    CallWatchdog::endCallInProgress();
}

void UnoEngine::endInstanceLeftBehind()
{
    EngineInstance::endLeftBehind(mSettings);
}

QString UnoEngine::applicationName() const
{
    return unoApplicationName;
}

QString UnoEngine::applicationVersion() const
{
    return QString::fromUtf8(installedProductValue(mSettings.officeProgram, "ooSetupVersionAboutBox"));
}

// The office's program file, as the process list shows it.
QString UnoEngine::processName() const
{
    return QStringLiteral("soffice.bin");
}
