#pragma once

class Dialogs;
class PresentationEngine;
class ProgramEnd;

namespace IsInstalled {

// Creates an application object and lets go of it at once. When none can be
// created, says the engine is missing and ends the program.
void checkPowerPointInstalled(PresentationEngine& engine, Dialogs& dialogs, ProgramEnd& programEnd);

}  // namespace IsInstalled
