#include "is_installed.h"

#include "dialogs.h"
#include "error_trap.h"
#include "platform.h"
#include "presentation_engine.h"

namespace IsInstalled {

void checkPowerPointInstalled(PresentationEngine& engine, Dialogs& dialogs, ProgramEnd& programEnd)
{
    ErrorTrap trap = ErrorTrap::silent();
    bool created = false;
    trap.step(0, [&] {
        // Released at once: an instance started just for this check ends again.
        created = engine.CreateObject() != nullptr;
    });
    if (!created) {
        dialogs.message(QStringLiteral("PowerPoint is not installed on this computer. You need to have "
                                       "it installed to use this software without error."));
        programEnd.endNow();
    }
}

}  // namespace IsInstalled
