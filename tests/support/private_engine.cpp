#include "tests/support/private_engine.h"

#include "engine/uno/process_stat.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

// Process ids to end if the test program dies; read from a signal handler.
constexpr int kMaxTracked = 8;
volatile sig_atomic_t gTracked[kMaxTracked] = {};
EngineSettings gSettings;

void track(qint64 pid)
{
    for (auto& slot : gTracked)
        if (slot == 0 || slot == pid) {
            slot = static_cast<sig_atomic_t>(pid);
            return;
        }
}

void endTracked()
{
    for (auto& slot : gTracked)
        if (slot > 0)
            ::kill(static_cast<pid_t>(slot), SIGKILL);
}

void endEngineFromPidFile()
{
    if (const qint64 pid = gSettings.recordedEnginePid(); isEngineBelow(pid, gSettings.profileDir))
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

void onFatalSignal(int signal)
{
    endTracked();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installCleanup()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (int signal : {SIGABRT, SIGSEGV, SIGTERM, SIGINT, SIGBUS, SIGFPE})
        std::signal(signal, onFatalSignal);
    std::atexit([] {
        endEngineFromPidFile();
        endTracked();
    });
}

}  // namespace

bool processAlive(qint64 pid)
{
    return ProcessStat::of(pid).running();
}

bool isEngineBelow(qint64 pid, const QString& folder)
{
    if (pid <= 0 || folder.isEmpty() || !processAlive(pid))
        return false;
    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!commandLine.open(QIODevice::ReadOnly))
        return false;
    const QByteArray profileArgument = "-env:UserInstallation=" + QUrl::fromLocalFile(folder).toEncoded();
    for (const QByteArray& argument : commandLine.readAll().split('\0'))
        if (argument.startsWith(profileArgument))
            return true;
    return false;
}

bool allThreadsStopped(qint64 pid)
{
    const QDir threads(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList ids = threads.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return !ids.isEmpty() && std::all_of(ids.cbegin(), ids.cend(), [&](const QString& id) {
        return ProcessStat::read(threads.filePath(id + QStringLiteral("/stat"))).state == "T";
    });
}

bool waitUntilSettled(qint64 pid, int timeoutMs)
{
    constexpr int kStillMs = 300;
    QElapsedTimer timer;
    timer.start();
    qint64 used = ProcessStat::of(pid).cpuTicks;
    while (timer.elapsed() < timeoutMs) {
        QThread::msleep(kStillMs);
        const qint64 now = ProcessStat::of(pid).cpuTicks;
        // A tick or two is the idle engine's own timers.
        if (now >= 0 && now - used <= 2)
            return true;
        used = now;
    }
    return false;
}

PrivateDisplay::PrivateDisplay(QSize screen, int monitors)
{
    installCleanup();
    mServer.setProgram(QStringLiteral("Xvfb"));
    // Without -noreset the server resets whenever its last client leaves (a
    // program that ended, each xdotool call between polls), and a program
    // that connects during a reset fails to start: "could not connect to
    // display".
    mServer.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    // Only the display number is read; what the server logs must not fill a
    // pipe nobody reads.
    mServer.setStandardErrorFile(QProcess::nullDevice());
    mServer.start();
    if (!mServer.waitForStarted() || !mServer.waitForReadyRead(10000))
        return;
    const QByteArray display = mServer.readLine().trimmed();
    track(mServer.processId());
    qputenv("DISPLAY", ":" + display);
    // The first monitor takes the screen's own output, so that it is not
    // reported as a monitor of its own over the whole screen.
    const int width = screen.width() / monitors;
    for (int m = 0; m < monitors && monitors > 1; ++m) {
        QProcess monitor;
        monitor.start(QStringLiteral("xrandr"),
                      {QStringLiteral("--setmonitor"), QStringLiteral("monitor%1").arg(m),
                       QStringLiteral("%1/300x%2/240+%3+0").arg(width).arg(screen.height()).arg(width * m),
                       m == 0 ? QStringLiteral("screen") : QStringLiteral("none")});
        if (!monitor.waitForFinished(10000) || monitor.exitCode() != 0)
            return;
    }
    mPid = mServer.processId();
}

PrivateDisplay::~PrivateDisplay()
{
    mServer.kill();
    mServer.waitForFinished(5000);
    if (mDisplayBefore)
        qputenv("DISPLAY", *mDisplayBefore);
    else
        qunsetenv("DISPLAY");
}

PrivateEngine::PrivateEngine()
{
    installCleanup();
    mSettings = EngineSettings::forUser();
    mSettings.profileDir = mFolder.filePath(QStringLiteral("profile"));
    mSettings.pipeName = QStringLiteral("orvendale-test-%1").arg(QCoreApplication::applicationPid());
    gSettings = mSettings;
    // The engines' temporary folders, which an engine killed on purpose
    // leaves behind, go with this folder.
    qputenv("TEMP", mFolder.path().toLocal8Bit());
}

PrivateEngine::~PrivateEngine()
{
    kill();
    if (mTempBefore)
        qputenv("TEMP", *mTempBefore);
    else
        qunsetenv("TEMP");
}

qint64 PrivateEngine::pid() const
{
    const qint64 pid = mSettings.recordedEnginePid();
    if (pid > 0)
        track(pid);
    return pid;
}

bool PrivateEngine::running() const
{
    return processAlive(pid());
}

namespace {

bool waitForEnd(qint64 process, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (processAlive(process) && !deadline.hasExpired())
        QThread::msleep(20);
    return !processAlive(process);
}

}  // namespace

bool PrivateEngine::waitUntilEnded(int timeoutMs) const
{
    return waitForEnd(pid(), timeoutMs);
}

void PrivateEngine::kill()
{
    for (const EngineSettings& profile : mSettings.withSpareProfiles())
        if (const qint64 process = profile.recordedEnginePid(); signal(process, SIGKILL))
            waitForEnd(process, 5000);
}

EngineSettings PrivateEngine::withStandInProgram(const QString& name, const QByteArray& script) const
{
    const QString folder = mFolder.filePath(name);
    QDir().mkpath(folder);
    EngineSettings standIn = mSettings;
    standIn.profileDir = mFolder.filePath(name + QStringLiteral("-profile"));
    standIn.officeProgram = folder + QStringLiteral("/soffice.bin");
    QFile program(standIn.officeProgram);
    if (program.open(QIODevice::WriteOnly))
        program.write("#!/bin/sh\n" + script + "\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile(folder + QStringLiteral("/libsdlo.so")).open(QIODevice::WriteOnly);
    return standIn;
}

bool PrivateEngine::signal(qint64 pid, int signal) const
{
    if (!isEngineBelow(pid, mSettings.profileDir))
        return false;
    track(pid);
    return ::kill(static_cast<pid_t>(pid), signal) == 0;
}

BusyProcessors::BusyProcessors()
{
    installCleanup();
    for (int i = 0; i < QThread::idealThreadCount(); ++i) {
        auto spinner = std::make_unique<QProcess>();
        spinner->setStandardOutputFile(QProcess::nullDevice());
        spinner->start(QStringLiteral("yes"), {});
        if (spinner->waitForStarted())
            track(spinner->processId());
        mSpinners.push_back(std::move(spinner));
    }
}

BusyProcessors::~BusyProcessors()
{
    for (const auto& spinner : mSpinners) {
        spinner->kill();
        spinner->waitForFinished(5000);
    }
}

QString templateDeck()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../program/business_plan.ppt");
}

QString copyOfTemplateDeck(const QString& path)
{
    QFile::remove(path);
    QFile::copy(templateDeck(), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}
