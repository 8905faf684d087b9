#pragma once

// A program run to its end with a home folder of its own and no display,
// as a command-line benchmark times it.
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>

// Seconds the program took, or -1 when it failed (what it said goes to
// standard error) or took over two minutes.
inline double secondsToRun(const QString& program, const QStringList& arguments, const QString& home)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("HOME", home);
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (process.exitCode() != 0)
        std::fprintf(stderr, "%s\n", process.readAllStandardError().constData());
    return process.exitCode() == 0 ? timer.nsecsElapsed() / 1e9 : -1;
}
