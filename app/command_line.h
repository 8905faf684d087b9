#pragma once

#include <QString>
#include <QStringList>

// What the program is asked to do by its arguments, read once, before any
// window or display is needed.
struct CommandLine {
    enum class Run { Window, Export, Help, Version, UsageError };
    Run run = Run::Window;
    // The deck an export makes.
    QString deck;
    // The plan file: in the window, one to open ("" for none); in an
    // export, the plan ("" for the plan the program keeps, "-" for
    // standard input).
    QString plan;
    // For Help, the text; for UsageError, what was wrong.
    QString text;
};

// How a command that cannot be carried out as written ends, beside an
// export's own codes (0 made, 1 plan unreadable, 2 engine failed, 3 deck not
// written, 128 and the signal's number when ended by one).
inline constexpr int kUsageErrorExit = 64;

CommandLine parseCommandLine(const QStringList& arguments);

// Prints the help, the version or the usage error; returns the code the
// program ends with.
int answerCommandLine(const CommandLine& commandLine);
