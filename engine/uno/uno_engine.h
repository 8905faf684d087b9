#pragma once

#include "engine/port/presentation_engine.h"
#include "engine/uno/engine_settings.h"

#include <atomic>
#include <memory>

class WindowSystem;

// LibreOffice Impress, driven over UNO.
class UnoEngine : public PresentationEngine {
public:
    // The windows are where a presentation opened without a window is kept
    // until the viewer takes its show in.
    explicit UnoEngine(WindowSystem& windows, EngineSettings settings = EngineSettings::forUser());

    std::shared_ptr<PresentationApplication> CreateObject() override;
    std::shared_ptr<PresentationApplication> GetObject() override;
    bool CanCreateObject() override;
    QString applicationName() const override;
    QString applicationVersion() const override;
    QString processName() const override;

    const EngineSettings& settings() const { return mSettings; }

    // The spare runs on a profile of its own; when it cannot be started, an
    // engine of these settings cannot be started either.
    void prepareSpare(std::function<void(const EngineStartFailure& failure)> onStartFailed) override;
    void whenSpareSettled(std::function<void(bool startFailed)> then) override;
    void endInstancesStartedHere() override;
    void interruptCall() override;
    // Removes what the instance left in the temporary folder too.
    void endInstanceLeftBehind() override;

private:
    WindowSystem& mWindows;
    EngineSettings mSettings;
    // Whether interruptCall was called: an engine's start then ends too.
    std::shared_ptr<std::atomic<bool>> mInterrupted = std::make_shared<std::atomic<bool>>(false);
};
