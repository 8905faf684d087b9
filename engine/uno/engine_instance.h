#pragma once

#include "engine/uno/active_selection.h"
#include "engine/uno/engine_connection.h"
#include "engine/uno/engine_process.h"
#include "engine/uno/engine_settings.h"

#include <QString>

#include <functional>
#include <memory>

// One running engine: its process and the connection to it, shared by every
// application object of this program that reaches it, with the active
// window's selection.
class EngineInstance {
public:
    // The instance on the settings' pipe: connects when one answers, starts
    // one first when none does and startIfNone is set; throws Failure.
    // interrupted is asked while an engine starts: once it says so, the
    // start ends at once, its engine with it.
    static std::shared_ptr<EngineInstance> reach(const EngineSettings& settings, bool startIfNone,
                                                 const std::function<bool()>& interrupted = {});
    // Ends every engine that this program started, as the program ends.
    static void endAllStartedHere();
    // Ends the engines that a program which has ended left running on the
    // settings' profile and on its spare profiles, and removes their
    // temporary decks and folders.
    static void endLeftBehind(const EngineSettings& settings);

    ~EngineInstance();

    const EngineConnection& connection() const { return mConnection; }
    ActiveSelection& selection() { return mSelection; }
    bool visible() const { return mVisible; }
    // Records a deck the engine opened, for the next start should this
    // program end without removing it.
    void recordDeck(const QString& deck) const { mProcess.recordDeck(deck); }
    void setVisible(bool visible) { mVisible = visible; }

    // Ends the engine: its documents are closed unsaved and it is told to
    // terminate; its process ends in the background, killed when it does not
    // end in time.
    void quit();
    bool quitRequested() const { return mQuitRequested; }

private:
    EngineInstance(EngineConnection connection, EngineProcess process);

    EngineConnection mConnection;
    EngineProcess mProcess;
    ActiveSelection mSelection;
    bool mVisible = false;
    bool mQuitRequested = false;
};
