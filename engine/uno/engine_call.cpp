#include "engine/uno/engine_call.h"

QString engineGoneReason()
{
    if (CallWatchdog::killedAStuckEngine())
        return QStringLiteral("the presentation engine stopped responding for %1 seconds and was ended.")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(CallWatchdog::period()).count());
    return QStringLiteral("the presentation engine is no longer running.");
}
