// The real program on a private display: time from the press of "Start
// Creating Template" to the first slide showing in the viewer's frame, and
// from "< Back" to the input window, over three rounds after a warm-up.
#include "private_engine.h"
#include "program_driver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdio>

namespace {

const QPoint kCreateButton(316, 21);
const QPoint kBackButton(132, 613);
const QPoint kSlideSample(100, 400);

bool titleSlideShows(const ProgramDriver& program, QPoint viewerAt)
{
    const QRgb pixel = program.pixel(viewerAt + kSlideSample);
    return qRed(pixel) < 60 && qGreen(pixel) > 50 && qGreen(pixel) < 110 && qBlue(pixel) > 80;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrivateDisplay display;
    ProgramDriver program;
    if (!display.ok() || !program.start())
        return 1;
    const unsigned long input = program.waitForWindow("Orvendale", 60000);
    const QPoint inputAt = program.windowOrigin(input);

    // One unmeasured round first, so that the figures are those of warm
    // engine profiles: the engine's first use of a profile builds caches and
    // settings that later rounds reuse.
    for (int round = 0; round <= 3; ++round) {
        // A user reads the window before pressing the button, also when
        // coming back to it; by then the program's spare engine has started.
        QThread::sleep(3);
        QElapsedTimer timer;
        timer.start();
        program.click(inputAt + kCreateButton);
        unsigned long viewer = 0;
        while (timer.elapsed() < 60000 && (!(viewer = program.visibleWindow("Orvendale")) || viewer == input))
            QThread::msleep(50);
        const QPoint viewerAt = program.windowOrigin(viewer);
        while (timer.elapsed() < 60000 && !titleSlideShows(program, viewerAt))
            QThread::msleep(5);
        const double toSlide = timer.elapsed() / 1000.0;

        timer.restart();
        program.click(viewerAt + kBackButton);
        while (timer.elapsed() < 20000 && program.visibleWindow("Orvendale") != input)
            QThread::msleep(10);
        if (round == 0) {
            std::printf("warm-up round: button to first slide %.2f s, not counted\n", toSlide);
            continue;
        }
        // The road's bound is the fourteen half-second pauses the user watches.
        std::printf("round %d: button to first slide %.2f s; bound: the 7 s of pauses; ratio %.3f (target at most "
                    "1.12); back to the input window %.2f s (target under 0.3 s)\n",
                    round, toSlide, toSlide / 7.0, timer.elapsed() / 1000.0);
    }
    return 0;
}
