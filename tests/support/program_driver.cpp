#include "tests/support/program_driver.h"

#include "engine/uno/uno_engine.h"
#include "tests/support/private_engine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>

ProgramDriver::ProgramDriver(QString program)
    : mProgramPath(program.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../program/orvendale")
                                     : std::move(program))
{
    QDir(mHome.path()).mkpath(QStringLiteral("config"));
    QDir(mHome.path()).mkpath(QStringLiteral("data"));
    QDir(mHome.path()).mkpath(QStringLiteral("tmp"));
}

ProgramDriver::~ProgramDriver()
{
    for (const qint64 engine : enginePids())
        signalEngine(engine, SIGKILL);
    mProgram.kill();
    mProgram.waitForFinished(5000);
}

bool ProgramDriver::start(const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), mHome.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), mHome.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("TEMP"), tempFolder());
    // The home page the program opens on about one start in a hundred goes
    // to a "browser" that does nothing: without one, that start would wait
    // behind the box saying no browser could be started.
    environment.insert(QStringLiteral("BROWSER"), QStringLiteral("true"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    mProgram.setProcessEnvironment(environment);
    mProgram.setStandardOutputFile(QProcess::nullDevice());
    mProgram.setStandardErrorFile(mHome.filePath(QStringLiteral("program-errors.txt")), QIODevice::Append);
    mProgram.setProgram(mProgramPath);
    mProgram.setArguments(arguments);
    mProgram.start();
    return mProgram.waitForStarted();
}

bool ProgramDriver::running() const
{
    return mProgram.state() == QProcess::Running;
}

bool ProgramDriver::waitForExit(int timeoutMs)
{
    return mProgram.waitForFinished(timeoutMs);
}

QString ProgramDriver::endWithItsEngines(const std::function<void()>& end)
{
    const QList<qint64> engines = enginePids();
    end();
    if (!waitForExit(20000))
        return QStringLiteral("the program did not end");
    for (const qint64 engine : engines)
        if (!QTest::qWaitFor([&] { return !processAlive(engine); }, 15000))
            return QStringLiteral("engine %1 did not end").arg(engine);
    return {};
}

QString ProgramDriver::errorOutput() const
{
    QFile file(mHome.filePath(QStringLiteral("program-errors.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QString ProgramDriver::threadStacks() const
{
    QProcess gdb;
    gdb.start(QStringLiteral("gdb"),
              {QStringLiteral("-batch"), QStringLiteral("-p"), QString::number(mProgram.processId()),
               QStringLiteral("-ex"), QStringLiteral("thread apply all bt 30")});
    if (!gdb.waitForFinished(60000))
        gdb.kill();
    return QString::fromLocal8Bit(gdb.readAllStandardOutput());
}

void ProgramDriver::signal(int signal) const
{
    if (const qint64 pid = mProgram.processId(); pid > 0)
        ::kill(static_cast<pid_t>(pid), signal);
}

bool ProgramDriver::signalEngine(qint64 pid, int signal) const
{
    return isEngineBelow(pid, mHome.path()) && ::kill(static_cast<pid_t>(pid), signal) == 0;
}

QList<EngineSettings> ProgramDriver::engineProfiles() const
{
    EngineSettings settings;
    settings.profileDir = mHome.filePath(QStringLiteral("data/Kervanel/Orvendale/engine-profile"));
    return settings.withSpareProfiles();
}

qint64 ProgramDriver::enginePid() const
{
    qint64 inUse = 0;
    QDateTime written;
    for (const EngineSettings& profile : engineProfiles()) {
        const qint64 pid = profile.recordedEnginePid();
        const QDateTime at = QFileInfo(profile.pidFile()).lastModified();
        if (processAlive(pid) && !profile.recordedAsSpare() && (!inUse || at > written)) {
            inUse = pid;
            written = at;
        }
    }
    return inUse;
}

QList<qint64> ProgramDriver::enginePids() const
{
    QList<qint64> running;
    for (const EngineSettings& profile : engineProfiles())
        if (const qint64 pid = profile.recordedEnginePid(); processAlive(pid))
            running << pid;
    return running;
}

QStringList ProgramDriver::engineTempFolders() const
{
    QStringList folders;
    for (const EngineSettings& profile : engineProfiles())
        if (processAlive(profile.recordedEnginePid()))
            folders << QFileInfo(profile.recordedTempFolder()).fileName();
    return folders;
}

QString ProgramDriver::run(const QString& program, const QStringList& arguments) const
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

unsigned long ProgramDriver::visibleWindow(const QString& title) const
{
    return visibleWindows(title).value(0);
}

QList<unsigned long> ProgramDriver::visibleWindows(const QString& title) const
{
    return searchWindows({QStringLiteral("--name"), QStringLiteral("^%1$").arg(title)});
}

QList<unsigned long> ProgramDriver::programWindows() const
{
    return searchWindows({QStringLiteral("--pid"), QString::number(mProgram.processId())});
}

QList<unsigned long> ProgramDriver::searchWindows(const QStringList& criteria) const
{
    // A window destroyed while xdotool walks the window tree (the engine's,
    // as it ends) makes it stop with an X error and find nothing: it is
    // asked again.
    QString found;
    for (int attempt = 0; attempt < 10; ++attempt) {
        QProcess search;
        search.start(QStringLiteral("xdotool"),
                     QStringList{QStringLiteral("search"), QStringLiteral("--onlyvisible")} + criteria);
        search.waitForFinished(10000);
        found = QString::fromLocal8Bit(search.readAllStandardOutput());
        if (!search.readAllStandardError().contains("X Error"))
            break;
    }
    QList<unsigned long> windows;
    for (const QString& line : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        windows << line.trimmed().toULong();
    return windows;
}

unsigned long ProgramDriver::waitForWindow(const QString& title, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (const unsigned long window = visibleWindow(title))
            return window;
        QThread::msleep(100);
    }
    return 0;
}

QString ProgramDriver::answerFileDialog(const QString& title, const QString& fileName) const
{
    const unsigned long dialog = waitForWindow(title, 20000);
    if (!dialog)
        return QStringLiteral("no window \"%1\" came up").arg(title);
    // Keys typed before the dialog has the keyboard reach the window that
    // had it: on a machine still cold the dialog takes it late.
    QString focus;
    const auto hasKeyboard = [&] {
        focus = focusedWindow();
        return focus.toULong() == dialog;
    };
    if (!QTest::qWaitFor(hasKeyboard, 20000))
        return QStringLiteral("\"%1\" (window %2) never had the keyboard, window %3 had it")
            .arg(title, QString::number(dialog), focus);
    type(fileName);
    for (int press = 0; press < 5; ++press) {
        key(QStringLiteral("Return"));
        if (QTest::qWaitFor([&] { return visibleWindow(title) == 0; }, 3000))
            return {};
    }
    return QStringLiteral("\"%1\" stayed open after the name and five Returns").arg(title);
}

QPoint ProgramDriver::windowOrigin(unsigned long window) const
{
    const QString shell = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                                          QStringLiteral("--shell"), QString::number(window)});
    QPoint origin;
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("X=")))
            origin.setX(line.mid(2).toInt());
        if (line.startsWith(QLatin1String("Y=")))
            origin.setY(line.mid(2).toInt());
    }
    return origin;
}

void ProgramDriver::click(QPoint onScreen, int button) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(onScreen.x()),
                                    QString::number(onScreen.y()), QStringLiteral("click"), QString::number(button)});
}

void ProgramDriver::movePointer(QPoint onScreen) const
{
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(onScreen.x()), QString::number(onScreen.y())});
}

void ProgramDriver::type(const QString& text) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

void ProgramDriver::giveKeyboard(unsigned long window) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window)});
}

void ProgramDriver::key(const QString& keys) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

QRgb ProgramDriver::pixel(QPoint onScreen) const
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 0;
    QRgb colour = 0;
    if (XImage* image =
            XGetImage(display, DefaultRootWindow(display), onScreen.x(), onScreen.y(), 1, 1, AllPlanes, ZPixmap)) {
        colour = qRgb(static_cast<int>((XGetPixel(image, 0, 0) >> 16) & 0xff),
                      static_cast<int>((XGetPixel(image, 0, 0) >> 8) & 0xff),
                      static_cast<int>(XGetPixel(image, 0, 0) & 0xff));
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return colour;
}

void ProgramDriver::closeWindow(unsigned long window) const
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

QImage ProgramDriver::screenshot() const
{
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    import.waitForFinished(20000);
    return QImage::fromData(import.readAllStandardOutput(), "PNG");
}

QString ProgramDriver::inputState() const
{
    return QStringLiteral("pointer: %1keyboard focus: %2windows:\n%3")
        .arg(run(QStringLiteral("xdotool"), {QStringLiteral("getmouselocation"), QStringLiteral("--shell")}),
             run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}),
             run(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")}));
}

QString ProgramDriver::focusedWindow() const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}).trimmed();
}

bool ProgramDriver::keyboardInAnotherProgram() const
{
    const QString focus = focusedWindow();
    const QString kind = run(QStringLiteral("xprop"), {QStringLiteral("-id"), focus, QStringLiteral("WM_CLASS")});
    return focus.toULong() > 1 && !kind.contains(QLatin1String("\"orvendale\""));
}

int ProgramDriver::visibleEngineWindows() const
{
    const QString found = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                          QStringLiteral("--class"), QStringLiteral("libreoffice")});
    return static_cast<int>(found.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}
