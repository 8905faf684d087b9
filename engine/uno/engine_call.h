#pragma once

#include "engine/port/presentation_engine.h"
#include "engine/uno/call_watchdog.h"
#include "engine/uno/uno_values.h"

#include <QString>

#include <com/sun/star/lang/DisposedException.hpp>

namespace css = com::sun::star;

// Why the engine went away during a call: the watchdog ended it, or it ended
// by itself.
QString engineGoneReason();

// Runs a call into the engine; UNO exceptions become Failure with the
// engine's description, a lost connection says so.
template <typename Call>
auto engineCall(const QString& what, Call&& call) -> decltype(call())
{
    const CallWatchdog::Guard deadline;
    try {
        return call();
    } catch (const css::lang::DisposedException&) {
        throw EngineUnavailable(QStringLiteral("%1 failed: %2").arg(what, engineGoneReason()));
    } catch (const css::uno::Exception& error) {
        if (CallWatchdog::killedAStuckEngine())
            throw EngineUnavailable(QStringLiteral("%1 failed: %2").arg(what, engineGoneReason()));
        const QString detail = fromUno(error.Message).section(QStringLiteral(" at ./"), 0, 0);
        throw Failure(
            QStringLiteral("%1 failed: %2")
                .arg(what, detail.isEmpty() ? QStringLiteral("the presentation engine gave no reason.") : detail));
    }
}
