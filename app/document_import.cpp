#include "app/document_import.h"

#include "app/headless_run.h"
#include "generator/document_reading.h"
#include "plan/plan_file.h"
#include "shell/failure.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

ExportExit importDocument(const QString& document, const QString& planFile)
{
    if (QFileInfo::exists(planFile)) {
        printError(QStringLiteral("%1 exists already, and an import never replaces a file: choose another name for "
                                  "the plan file.")
                       .arg(QDir::toNativeSeparators(planFile)));
        return ExportExit::NotWritten;
    }
    if (!DocumentReading::isDocument(document)) {
        printError(
            QStringLiteral("%1: the import reads documents whose names end in .%2.")
                .arg(QDir::toNativeSeparators(document), DocumentReading::suffixes().join(QStringLiteral(", ."))));
        return ExportExit::PlanUnreadable;
    }
    HeadlessRun run;
    if (!run.problem().isEmpty()) {
        printError(run.problem());
        return run.problemExit();
    }
    DocumentReading::DefaultImport imported;
    try {
        imported = DocumentReading::importWithDefaults(run.engine(), document, run.workFolder(),
                                                       DocumentReading::AfterReading::Quit);
    } catch (const Failure& failure) {
        return run.planNotRead(failure);
    }
    for (const QString& line : std::as_const(imported.report))
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    try {
        PlanFile::write(planFile, imported.texts);
    } catch (const Failure& failure) {
        printError(failure.description());
        return ExportExit::NotWritten;
    }
    return ExportExit::Made;
}
