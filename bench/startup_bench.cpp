// From starting the program to its input window on the screen (the engine
// check included), against a bare Qt window of the same kind started and
// watched the same way, over three rounds on a private display; the first
// round makes the engine's profile.
#include "tests/support/private_engine.h"
#include "tests/support/program_driver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

// Polls the screen until a window with the title shows; seconds taken.
double untilShown(const ProgramDriver& screen, const QString& title, QElapsedTimer& timer)
{
    while (timer.elapsed() < 60000 && !screen.visibleWindow(title))
        QThread::msleep(5);
    return timer.nsecsElapsed() / 1e9;
}

double bareWindowStart(const ProgramDriver& screen)
{
    QProcess bare;
    QElapsedTimer timer;
    timer.start();
    bare.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bare_window"));
    const double shown = untilShown(screen, QStringLiteral("Bare window"), timer);
    bare.kill();
    bare.waitForFinished();
    return shown;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrivateDisplay display;
    if (!display.ok())
        return 1;
    // One user folder for every round: the first makes the engine's profile.
    ProgramDriver program;
    for (int round = 1; round <= 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        if (!program.start())
            return 1;
        const double start = untilShown(program, QStringLiteral("Orvendale"), timer);
        program.closeWindow(program.visibleWindow(QStringLiteral("Orvendale")));
        program.waitForExit(20000);
        const double bare = bareWindowStart(program);
        std::printf(
            "round %d: program start to input window %.3f s; bound: a bare window %.3f s; ratio %.2f "
            "(target at most 3)\n",
            round, start, bare, start / bare);
    }
    return 0;
}
