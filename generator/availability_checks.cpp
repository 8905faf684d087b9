#include "generator/availability_checks.h"

#include "engine/port/presentation_engine.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/side_effects.h"

namespace AvailabilityChecks {

namespace {

QString engineMissingMessage(const PresentationEngine& engine)
{
    return QStringLiteral(
               "%1 is not installed on this computer. You need to have it installed to use this "
               "software without error.")
        .arg(engine.applicationName());
}

}  // namespace

bool isEngineRunning(PresentationEngine& engine)
{
    try {
        const auto app = engine.GetObject();
        return app && app->Name() == engine.applicationName();
    } catch (...) {
        return false;
    }
}

bool shouldCancelForRunningEngine(PresentationEngine& engine, Dialogs& dialogs)
{
    if (!isEngineRunning(engine))
        return false;
    const bool proceed =
        dialogs.askYesNo(QStringLiteral("%1 may be open. It is recommended that you close %1 first.\r"
                                        "Use System Monitor > Processes > %2 > End Process if necessary.\r\n\r\n"
                                        "Would you like to proceed anyway?")
                             .arg(engine.applicationName(), engine.processName()));
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
        dialogs.message(engineMissingMessage(engine));
        programEnd.endNow();
    }
}

void tellEngineCannotStart(const PresentationEngine& engine, const EngineStartFailure& failure, Dialogs& dialogs,
                           ProgramEnd& programEnd)
{
    using Cause = EngineStartFailure::Cause;
    switch (failure.cause) {
    case Cause::NotInstalled:
        dialogs.message(engineMissingMessage(engine) + QStringLiteral("\r\n\r\n") + failure.description);
        programEnd.endNow();
        return;
    case Cause::TooSlow:
        dialogs.message(QStringLiteral("%1 is taking unusually long to start: %2 A first start after "
                                       "installing it, or on a busy computer, can be that slow. \"Start Creating "
                                       "Template\" starts it again.")
                            .arg(engine.applicationName(), failure.description));
        return;
    case Cause::Broken:
        dialogs.message(QStringLiteral("%1 is installed but could not be started, so Orvendale cannot create "
                                       "decks.\r\n\r\n%2")
                            .arg(engine.applicationName(), failure.description));
        programEnd.endNow();
        return;
    }
}

}  // namespace AvailabilityChecks
