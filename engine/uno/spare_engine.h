#pragma once

#include "engine/uno/engine_connection.h"
#include "engine/uno/engine_process.h"
#include "engine/uno/engine_settings.h"

#include <QString>

#include <functional>
#include <optional>

// An engine started ahead of need, so that the user does not wait for one
// to start: it runs on a profile and a pipe of its own, holds no document
// and shows nothing. The next call that would start an engine takes it
// instead, and another starts a second later for the call after. Until it
// is taken it is not the running application that GetObject finds (not
// here, not in another copy of the program), and it ends with the program
// like every engine started here.
//
// Each copy of the program keeps two spare profiles of its own, locked for
// as long as it runs, and uses them in turn: while the engine taken from one
// still runs, the next spare starts on the other.
namespace SpareEngine {

struct StartedSpare {
    EngineConnection connection;
    EngineProcess process;
};

// What the start of a spare came to.
struct TakenSpare {
    std::optional<StartedSpare> spare;
    // Why the engine could not be started, when it could not.
    std::optional<EngineStartFailure> startFailure;
};

// Told, on the spare's own thread, why a spare could not be started.
using StartFailed = std::function<void(const EngineStartFailure& failure)>;

// How a spare's start stands.
enum class Progress { None, Starting, Started, Failed };
// How the spare's start stands; one waiting for its delay starts now. A
// start that failed is let go of here, so that the next start is a fresh
// one.
Progress hurry();

// Starts a spare in the background for engines of these settings, unless
// one is running or starting. Never fails: without a spare, engines start
// as they did; a start that fails is told to onStartFailed.
void prepare(const EngineSettings& settings, StartFailed onStartFailed = {});

// The spare, waiting for one still starting, but no longer than the call
// deadline: a spare that is not ready by then is killed and none is taken.
// None either when none was prepared. The next spare starts a second later.
TakenSpare take(const EngineSettings& settings);

// Ends a spare that was not taken; one still starting is killed, and its
// start waited for no longer than a killed engine takes to end. One still
// waiting to start does not.
void endUntaken();

}  // namespace SpareEngine
