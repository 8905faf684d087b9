#include "uno_engine.h"

#include "engine_instance.h"
#include "spare_engine.h"
#include "uno_application.h"

#include <QCoreApplication>

UnoEngine::UnoEngine(WindowSystem& windows, EngineSettings settings)
    : mWindows(windows), mSettings(std::move(settings))
{
}

std::shared_ptr<PresentationApplication> UnoEngine::CreateObject()
{
    return unoApplication(EngineInstance::reach(mSettings, true), mWindows);
}

std::shared_ptr<PresentationApplication> UnoEngine::GetObject()
{
    return unoApplication(EngineInstance::reach(mSettings, false), mWindows);
}

bool UnoEngine::CanCreateObject()
{
    return EngineProcess::installed(mSettings);
}

void UnoEngine::prepareSpare(std::function<void(const QString& description)> onStartFailed)
{
    SpareEngine::StartFailed told;
    if (onStartFailed)
        told = [onStartFailed = std::move(onStartFailed)](const QString& description) {
            QMetaObject::invokeMethod(QCoreApplication::instance(), [=] { onStartFailed(description); },
                                      Qt::QueuedConnection);
        };
    SpareEngine::prepare(mSettings, std::move(told));
}

void UnoEngine::endInstancesStartedHere()
{
    EngineInstance::endAllStartedHere();
}

void UnoEngine::endInstanceLeftBehind()
{
    EngineInstance::endLeftBehind(mSettings);
}

QString UnoEngine::applicationName() const
{
    return unoApplicationName;
}

// The office's program file, as the process list shows it.
QString UnoEngine::processName() const
{
    return QStringLiteral("soffice.bin");
}
