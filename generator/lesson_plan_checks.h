#pragma once

class Clock;
class Dialogs;
class PresentationEngine;

namespace LessonPlan {

// True when our presentation application runs and answers under its name.
// Never fails.
bool isPowerPointRunning(PresentationEngine& engine);

// When the application already runs, asks whether to go on anyway; true
// means the user chose not to.
bool shouldCancelForOpenPowerPoint(PresentationEngine& engine, Dialogs& dialogs);

// Lets pending window events run once, then waits until the given number of
// seconds has passed, across midnight too. Throws Failure for a length that
// is not a number, or a day or more, which a clock of the time of day cannot
// measure.
void waitSeconds(float& seconds, Clock& clock);

}  // namespace LessonPlan
