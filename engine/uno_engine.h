#pragma once

#include "engine_settings.h"
#include "presentation_engine.h"

class WindowSystem;

#include <QList>
#include <functional>
#include <QString>

// LibreOffice Impress, driven over UNO.
class UnoEngine : public PresentationEngine {
public:
    // The windows are where a presentation opened without a window is kept
    // until the viewer takes its show in.
    explicit UnoEngine(WindowSystem& windows, EngineSettings settings = EngineSettings::forUser());

    std::shared_ptr<PresentationApplication> CreateObject() override;
    std::shared_ptr<PresentationApplication> GetObject() override;
    bool CanCreateObject() override;

    const EngineSettings& settings() const { return mSettings; }

    // Starts an engine in the background, on a profile of its own, that the
    // next CreateObject which would start one takes instead (a spare). When
    // it cannot be started, onStartFailed is told why, on the event loop's
    // thread: an engine of these settings cannot be started either.
    void prepareSpare(std::function<void(const QString& description)> onStartFailed = {});
    // Ends every engine instance this program started; for the program's end.
    void endInstancesStartedHere();
    // Ends an instance that an earlier run of the program left running (it
    // was killed, say) and removes what it left in the temporary folder.
    void endInstanceLeftBehind();

private:
    WindowSystem& mWindows;
    EngineSettings mSettings;
};
