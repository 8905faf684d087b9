#include "availability_checks.h"

#include "dialogs.h"
#include "error_trap.h"
#include "side_effects.h"
#include "presentation_engine.h"

namespace AvailabilityChecks {

namespace {

QString engineMissingMessage()
{
    return QStringLiteral("%1 is not installed on this computer. You need to have it installed to use this "
                          "software without error.")
        .arg(presentationApplicationName);
}

}  // namespace

bool isEngineRunning(PresentationEngine& engine)
{
    try {
        const auto app = engine.GetObject();
        return app && app->Name() == presentationApplicationName;
    } catch (...) {
        return false;
    }
}

bool shouldCancelForRunningEngine(PresentationEngine& engine, Dialogs& dialogs)
{
    if (!isEngineRunning(engine))
        return false;
    // The engine's process is named after its program file.
    const bool proceed = dialogs.askYesNo(
        QStringLiteral("%1 may be open. It is recommended that you close %1 first.\r"
                       "Use System Monitor > Processes > soffice.bin > End Process if necessary.\r\n\r\n"
                       "Would you like to proceed anyway?")
            .arg(presentationApplicationName));
    return !proceed;
}

void checkEngineInstalled(PresentationEngine& engine, Dialogs& dialogs, ProgramEnd& programEnd)
{
    ErrorTrap trap = ErrorTrap::silent();
    bool created = false;
    // Asking whether the application can be created answers at once; whether
    // an installed engine really starts, the engine started ahead of need
    // tells (see tellEngineCannotStart).
    trap.step(0, [&] { created = engine.CanCreateObject(); });
    if (!created) {
        dialogs.message(engineMissingMessage());
        programEnd.endNow();
    }
}

void tellEngineCannotStart(const QString& why, Dialogs& dialogs, ProgramEnd& programEnd)
{
    dialogs.message(engineMissingMessage() + QStringLiteral("\r\n\r\n") + why);
    programEnd.endNow();
}

}  // namespace AvailabilityChecks
