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
    parser.addOptions({help, version});
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
