#pragma once

#include "engine_connection.h"
#include "engine_process.h"
#include "uno_engine.h"

#include <QString>
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

struct Started {
    EngineConnection connection;
    EngineProcess process;
};

// Starts a spare in the background for engines of these settings, unless
// one is running or starting. Never fails: without a spare, engines start
// as they did.
void prepare(const EngineSettings& settings);

// The spare, waiting for one still starting; none when none was prepared or
// it could not start. The next spare starts a second later.
std::optional<Started> take(const EngineSettings& settings);

// Ends a spare that was not taken, waiting for one still starting; one
// still waiting to start does not.
void endUntaken();

// The settings of every spare profile there may be for these settings, for
// ending what a killed run left on them.
QList<EngineSettings> allSlots(const EngineSettings& settings);

}  // namespace SpareEngine
