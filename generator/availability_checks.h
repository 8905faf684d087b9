#pragma once

#include <QString>

class Dialogs;
class PresentationEngine;
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

// The engine is installed but could not be started (why says what
// happened): told with the check's own message, and the program ends.
void tellEngineCannotStart(const PresentationEngine& engine, const QString& why, Dialogs& dialogs,
                           ProgramEnd& programEnd);

}  // namespace AvailabilityChecks
