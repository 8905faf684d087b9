// The engine overhead of one deck: start to first answer, then open, fill the
// 13 text shapes with no pauses, save, close and quit a 12-slide deck, on a
// private instance. Prints the figures and the peak memory of this process.
#include "bench/bench_engine.h"
#include "engine/port/presentation_engine.h"
#include "tests/support/deck_text.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <sys/resource.h>

namespace {

double seconds(QElapsedTimer& timer)
{
    const double value = timer.nsecsElapsed() / 1e9;
    timer.restart();
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchEngine bench;
    UnoEngine& engine = bench.engine;

    // A first start makes the private profile; the figures are for a warm one.
    engine.CreateObject()->Quit();

    const QString deckPath = bench.folder.filePath("deck.ppt");
    for (int run = 1; run <= 3; ++run) {
        copyOfTemplateDeck(deckPath);

        QElapsedTimer timer, total;
        timer.start();
        total.start();
        const auto a = engine.CreateObject();
        const auto b = engine.GetObject();
        const double start = seconds(timer);
        a->setVisible(true);
        const auto deck = b->Presentations().Open(deckPath);
        const double open = seconds(timer);
        writeShape(*a, *deck, 1, "Rectangle 2", "Lumen Orchard Ltd.");
        writeShape(*a, *deck, 1, "Rectangle 3", "Indoor farms for city restaurants");
        for (int slide = 2; slide <= 12; ++slide)
            writeShape(*a, *deck, slide, "Rectangle 3", "A heading\r\nA line of the plan\r\nAnother line\r\n");
        const double filling = seconds(timer);
        deck->Slides(1).Select();
        deck->Save();
        deck->Close();
        const double saving = seconds(timer);
        b->Quit();
        a->Quit();
        const double quitting = seconds(timer);
        std::printf(
            "run %d: start %.3f s, open %.3f s, fill 13 shapes %.3f s, save and close %.3f s, "
            "quit %.3f s, total %.3f s\n",
            run, start, open, filling, saving, quitting, total.nsecsElapsed() / 1e9);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory of this process: %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
