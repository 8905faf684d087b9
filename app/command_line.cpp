#include "app/command_line.h"

#include "shell/export_contract.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

const QString kUsage = QStringLiteral(
    "orvendale [plan.orvendale | document] | orvendale --export deck [plan.orvendale | - | document] | "
    "orvendale --import document plan.orvendale");

CommandLine usageError(const QString& problem)
{
    return {CommandLine::Run::UsageError, {}, {}, problem, {}};
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Turns a business plan into a slide deck: type the plan into the window, then "
                       "\"Start Creating Template\" fills a twelve-slide deck through LibreOffice Impress."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Prints this help, then ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Prints the version, then ends."));
    const QCommandLineOption exportDeck(
        ExportContract::kOption,
        QStringLiteral("Makes the deck without a window or a display, from the plan file (\"-\": from standard "
                       "input) or else from the plan kept by the program, in the format the name ends in (.ppt, "
                       ".pptx, .odp, .pdf); prints a line a slide, and notes about the plan on standard error. "
                       "Exits 0 when made, 1 when the plan cannot be read, 2 when the engine fails, 3 when the "
                       "deck cannot be written, 64 when the command is wrong, 130 after Ctrl+C, 143 when "
                       "ended."),
        QStringLiteral("deck"));
    const QCommandLineOption importDocument(
        ExportContract::kImportOption,
        QStringLiteral("Makes a plan file from a business plan document (.docx, .doc, .odt, .rtf, .html, .txt, "
                       ".md) without a window: its headings go to the sections they name, each paragraph's first "
                       "sentence to the slide and the paragraph to the notes; prints where each heading went and "
                       "what was left out. Never replaces an existing file. Exits as --export does."),
        QStringLiteral("document"));
    parser.addOptions({help, version, exportDeck, importDocument});
    parser.addPositionalArgument(
        QStringLiteral("plan"),
        QStringLiteral("A plan file (.orvendale) or a business plan document to open in the window, or to export; "
                       "the plan file an import writes."),
        QStringLiteral("[plan.orvendale]"));
    if (!parser.parse(arguments)) {
        if (parser.unknownOptionNames().isEmpty())
            return usageError(arguments.last() == QLatin1String("--import")
                                  ? QStringLiteral("--import needs the name of the document to read")
                                  : QStringLiteral("--export needs the name of the deck to make"));
        return usageError(
            QStringLiteral("there is no option %1%2")
                .arg(parser.unknownOptionNames().first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                     parser.unknownOptionNames().first()));
    }
    if (parser.isSet(help))
        return {CommandLine::Run::Help,
                {},
                {},
                parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("orvendale")),
                {}};
    if (parser.isSet(version))
        return {CommandLine::Run::Version, {}, {}, {}, {}};
    const QStringList plans = parser.positionalArguments();
    if (plans.size() > 1)
        return usageError(
            QStringLiteral("one plan at a time, not %1 (%2)").arg(plans.size()).arg(plans.join(QStringLiteral(", "))));
    const QString plan = plans.value(0);
    if (!plans.isEmpty() && plan.isEmpty())
        return usageError(QStringLiteral("the plan's name is empty"));
    if (parser.isSet(importDocument)) {
        if (parser.isSet(exportDeck))
            return usageError(QStringLiteral("--import and --export are two commands: run one, then the other"));
        const QStringList documents = parser.values(importDocument);
        if (documents.size() > 1)
            return usageError(QStringLiteral("one document at a time, not %1").arg(documents.size()));
        if (documents.first().isEmpty())
            return usageError(QStringLiteral("the document's name is empty"));
        if (plan.isEmpty() || plan == QLatin1String("-"))
            return usageError(QStringLiteral("--import needs the name of the plan file to write"));
        return {CommandLine::Run::Import, {}, plan, {}, documents.first()};
    }
    if (!parser.isSet(exportDeck)) {
        if (plan == QLatin1String("-"))
            return usageError(QStringLiteral("the window opens a plan file, not standard input"));
        return {CommandLine::Run::Window, {}, plan, {}, {}};
    }
    const QStringList decks = parser.values(exportDeck);
    if (decks.size() > 1)
        return usageError(QStringLiteral("one deck at a time, not %1").arg(decks.size()));
    if (decks.first().isEmpty())
        return usageError(QStringLiteral("the deck's name is empty"));
    return {CommandLine::Run::Export, decks.first(), plan, {}, {}};
}

int answerCommandLine(const CommandLine& commandLine)
{
    switch (commandLine.run) {
    case CommandLine::Run::Help: std::fputs(qPrintable(commandLine.text), stdout); return 0;
    case CommandLine::Run::Version: std::printf("orvendale %s\n", ORVENDALE_VERSION); return 0;
    case CommandLine::Run::UsageError:
        std::fprintf(stderr, "orvendale: %s.\nUsage: %s\n", qPrintable(commandLine.text), qPrintable(kUsage));
        return static_cast<int>(ExportExit::UsageError);
    case CommandLine::Run::Window:
    case CommandLine::Run::Export:
    case CommandLine::Run::Import: break;
    }
    return 0;
}
