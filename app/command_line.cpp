#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

std::optional<int> answerCommandLine(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("orvendale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVENDALE_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Turns a business plan into a slide deck: type the plan into the window, then "
                       "\"Start Creating Template\" fills a twelve-slide deck through LibreOffice Impress."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Prints this help, then ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Prints the version, then ends."));
    const QCommandLineOption exportDeck(
        QStringLiteral("export"),
        QStringLiteral("Makes the deck without a window or a display, from the plan file or else from the plan "
                       "kept by the program, in the format the name ends in (.ppt, .pptx, .odp, .pdf); prints a "
                       "line a slide. Exits 0 when made, 1 when the plan cannot be read, 2 when the engine fails, "
                       "3 when the deck cannot be written."),
        QStringLiteral("deck"));
    parser.addOptions({help, version, exportDeck});
    parser.addPositionalArgument(QStringLiteral("plan"),
                                 QStringLiteral("A plan file (.orvendale) to open in the window, or to export."),
                                 QStringLiteral("[plan.orvendale]"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (parser.isSet(help)) {
        // Without an application object the parser does not know the
        // program's name.
        std::fputs(
            qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("orvendale"))),
            stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("orvendale %s\n", ORVENDALE_VERSION);
        return 0;
    }
    return std::nullopt;
}
