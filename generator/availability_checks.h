#pragma once

class Dialogs;
class PresentationEngine;
class ProgramEnd;

// Whether the presentation application can be had, and whether one runs
// already.
namespace AvailabilityChecks {

// True when our presentation application runs and answers under its name.
// Never fails.
bool isPowerPointRunning(PresentationEngine& engine);

// When the application already runs, asks whether to go on anyway; true
// means the user chose not to.
bool shouldCancelForOpenPowerPoint(PresentationEngine& engine, Dialogs& dialogs);

// Asks whether an application object can be created. When none can, says
// the engine is missing and ends the program.
void checkPowerPointInstalled(PresentationEngine& engine, Dialogs& dialogs, ProgramEnd& programEnd);

}  // namespace AvailabilityChecks
