#pragma once

#include "call_watchdog.h"
#include "presentation_engine.h"

class WindowSystem;

#include <QList>
#include <functional>
#include <QString>

// Where and how the engine instance of this user runs: a private profile, so
// that the program never touches the user's own office session, and a pipe
// named after the user that every copy of the program connects through.
struct EngineSettings {
    QString officeProgram;  // soffice.bin
    QString profileDir;
    QString pipeName;
    bool headless = false;  // a headless instance can never show a window
    // The whole start of an engine has the deadline of an engine call.
    int startTimeoutMs = static_cast<int>(CallWatchdog::kDefaultPeriod.count());

    static EngineSettings forUser();

    // The file that records the engine started on this profile.
    QString pidFile() const;
    // The engine process that file records, or 0; it may have ended since.
    qint64 recordedEnginePid() const;
    // Whether that engine is a spare that was not taken yet.
    bool recordedAsSpare() const;
    // The temporary folder that file records for the engine.
    QString recordedTempFolder() const;
    // These settings, then those of the spare profiles that engines of
    // these settings may run on.
    QList<EngineSettings> withSpareProfiles() const;
};

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
