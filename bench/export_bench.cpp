// Saving a filled 12-slide deck in each format the viewer offers, on a
// private engine instance: the engine's exports against its own save of the
// deck in place, measured in the same run, and against the 2 s a user may
// wait for "Done.".
#include "deck_text.h"
#include "presentation_engine.h"
#include "private_engine.h"
#include "uno_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

double secondsFor(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrivateDisplay display;
    PrivateEngine privateEngine;
    QTemporaryDir folder;
    UnoEngine engine = privateEngine.engine();

    const QString deckPath = copyOfTemplateDeck(folder.filePath("deck.ppt"));
    const auto application = engine.CreateObject();
    const auto deck = application->Presentations().OpenWithoutWindow(deckPath);
    writeShape(*application, *deck, 1, "Rectangle 2", "Lumen Orchard Ltd.");
    writeShape(*application, *deck, 1, "Rectangle 3", "Indoor farms for city restaurants");
    for (int slide = 2; slide <= 12; ++slide)
        writeShape(*application, *deck, slide, "Rectangle 3",
                   "A heading\r\nA line of the plan\r\nAnother line\r\nA last line");

    const struct {
        const char* name;
        SaveAsFileType format;
    } formats[] = {{"pptx", SaveAsFileType::OpenXMLPresentation},
                   {"odp", SaveAsFileType::OpenDocumentPresentation},
                   {"pdf", SaveAsFileType::PDF}};
    for (int run = 1; run <= 3; ++run) {
        const double save = secondsFor([&] { deck->Save(); });
        std::printf("run %d: save in place (.ppt) %.3f s\n", run, save);
        for (const auto& format : formats) {
            const QString copy = folder.filePath(QStringLiteral("copy.%1").arg(QLatin1String(format.name)));
            const double seconds = secondsFor([&] { deck->SaveCopyAs(copy, format.format); });
            std::printf("  .%-4s %.3f s = %.2f x the save in place, %.2f x the 2 s bound\n", format.name, seconds,
                        seconds / save, seconds / 2.0);
        }
    }
    application->Quit();
    return 0;
}
