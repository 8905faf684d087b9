#pragma once

#include <QString>

class Dialogs;
class PresentationEngine;
struct EngineStartFailure;
class ProgramEnd;

// Whether the presentation application can be had, and whether one runs
// already.
namespace AvailabilityChecks {

// True when our presentation application runs and answers under its name.
// Never fails.
bool isEngineRunning(PresentationEngine& engine);

// When the application already runs, asks whether to go on anyway; true
// means the user chose not to.
bool shouldCancelForRunningEngine(PresentationEngine& engine, Dialogs& dialogs);

// Asks whether an application object can be created. When none can, says
// the engine is missing and ends the program.
void checkEngineInstalled(PresentationEngine& engine, Dialogs& dialogs, ProgramEnd& programEnd);

// The engine could not be started: a missing one is told with the check's
// own message, and the program ends, as it does for an engine that fails
// to start; one that was only too slow is told, and the program goes on, as
// the next deck starts an engine afresh.
void tellEngineCannotStart(const PresentationEngine& engine, const EngineStartFailure& failure, Dialogs& dialogs,
                           ProgramEnd& programEnd);

}  // namespace AvailabilityChecks
