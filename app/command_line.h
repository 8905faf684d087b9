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

CommandLine parseCommandLine(const QStringList& arguments);

// Prints the help, the version or the usage error; returns the code the
// program ends with.
int answerCommandLine(const CommandLine& commandLine);
