#include "availability_checks.h"

#include "dialogs.h"
#include "error_trap.h"
#include "platform.h"
#include "presentation_engine.h"

namespace AvailabilityChecks {

bool isPowerPointRunning(PresentationEngine& engine)
{
    try {
        const auto app = engine.GetObject();
        return app && app->Name() == presentationApplicationName;
    } catch (...) {
        return false;
    }
}

bool shouldCancelForOpenPowerPoint(PresentationEngine& engine, Dialogs& dialogs)
{
    if (!isPowerPointRunning(engine))
        return false;
    const bool proceed = dialogs.askYesNo(
        QStringLiteral("PowerPoint may be open. It is recommended that you close PowerPoint first.\r"
                       "Use Ctrl+Alt+Del > Task Manager > POWERPNT.EXE if necessary.\r\n\r\n"
                       "Would you like to proceed anyway?"));
    return !proceed;
}

void checkPowerPointInstalled(PresentationEngine& engine, Dialogs& dialogs, ProgramEnd& programEnd)
{
    ErrorTrap trap = ErrorTrap::silent();
    bool created = false;
    // Asking whether the application can be created tells the same as
    // creating one, without holding the window back for an engine start.
    trap.step(0, [&] { created = engine.CanCreateObject(); });
    if (!created) {
        dialogs.message(QStringLiteral("PowerPoint is not installed on this computer. You need to have "
                                       "it installed to use this software without error."));
        programEnd.endNow();
    }
}

}  // namespace AvailabilityChecks
