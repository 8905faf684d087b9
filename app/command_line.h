#pragma once

#include <QString>
#include <QStringList>

// What the program is asked to do by its arguments, read once, before any
// window or display is needed.
struct CommandLine {
    enum class Run { Window, Export, Import, Help, Version, UsageError };
    Run run = Run::Window;
    // The deck an export makes.
    QString deck;
    // The plan file: in the window, one to open ("" for none) or a business
    // plan document to import; in an export, the plan ("" for the plan the
    // program keeps, "-" for standard input, or a document to import); in
    // an import, the plan file it writes.
    QString plan;
    // For Help, the text; for UsageError, what was wrong.
    QString text;
    // The business plan document an import reads.
    QString document;
};

CommandLine parseCommandLine(const QStringList& arguments);

// Prints the help, the version or the usage error; returns the code the
// program ends with.
int answerCommandLine(const CommandLine& commandLine);
