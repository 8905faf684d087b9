#pragma once

#include <QString>

// What the command-line export promises whoever runs it (a script, or the
// plan window's Export Deck, which runs it in a process of its own): the
// option that asks for it and the codes it exits with.
namespace ExportContract {

// "orvendale --export deck [plan]".
inline const QString kOption = QStringLiteral("export");
// "orvendale --import document plan": exits with the same codes, the
// document read as the plan is.
inline const QString kImportOption = QStringLiteral("import");

}  // namespace ExportContract

enum class ExportExit : int {
    Made = 0,
    PlanUnreadable = 1,
    EngineFailed = 2,
    NotWritten = 3,
    // The command cannot be carried out as written (any command, not only
    // an export).
    UsageError = 64,
    // Ended by a signal: 128 and the signal's number; Ctrl+C, or Cancel in
    // the window, is Interrupted.
    Interrupted = 130,
    Terminated = 143,
};

inline ExportExit exitForSignal(int signal)
{
    return static_cast<ExportExit>(128 + signal);
}
