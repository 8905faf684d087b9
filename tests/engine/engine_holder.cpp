// A copy of the program in miniature: starts an engine on the given profile
// and pipe, opens the deck in it, says "ready" and waits to be killed, as a
// program that holds a deck when it is killed does.
#include "engine/port/presentation_engine.h"
#include "engine/uno/uno_engine.h"
#include "platform/x11_window_system.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    EngineSettings settings = EngineSettings::forUser();
    settings.profileDir = QString::fromLocal8Bit(argv[1]);
    settings.pipeName = QString::fromLocal8Bit(argv[2]);
    X11WindowSystem windows;
    UnoEngine engine(windows, settings);
    try {
        const auto application = engine.CreateObject();
        const auto deck = application->Presentations().OpenWithoutWindow(QString::fromLocal8Bit(argv[3]));
        std::puts("ready");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    } catch (const Failure& failure) {
        std::puts(qPrintable(failure.description()));
        return 1;
    }
}
