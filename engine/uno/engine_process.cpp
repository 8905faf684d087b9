#include "engine/uno/engine_process.h"

#include "engine/uno/engine_profile.h"
#include "engine/uno/pid_file.h"
#include "engine/uno/process_stat.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/temporary_files.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString profileArgument(const EngineSettings& settings)
{
    return QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(settings.profileDir).toString();
}

bool processRunning(qint64 pid)
{
    return ProcessStat::of(pid).running();
}

bool waitUntilEnded(qint64 pid, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (processRunning(pid) && !deadline.hasExpired())
        QThread::msleep(20);
    return !processRunning(pid);
}

// The engine that this layer starts: its program, running on its profile.
bool isOurEngine(qint64 pid, const EngineSettings& settings)
{
    if (!processRunning(pid))
        return false;
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (program != QFileInfo(settings.officeProgram).canonicalFilePath() || !commandLine.open(QIODevice::ReadOnly))
        return false;
    return commandLine.readAll().split('\0').contains(profileArgument(settings).toUtf8());
}

// Locks on the pid files of the engines this copy of the program started,
// each held for as long as its engine runs. The system lets go of them when
// this copy ends, however it ends (killed, or its display gone), which is
// how another copy tells that an engine was left behind; the path of the
// program file tells nothing (another build, or a file replaced by an
// upgrade).
class OwnerLocks {
public:
    // False when the lock cannot be had within a second: another copy
    // holds it (one that looks at the pid file now lets go at once).
    bool hold(const QString& pidFile)
    {
        std::lock_guard lock(mMutex);
        if (mHeld.count(pidFile))
            return true;
        const int fd = ::open(QFile::encodeName(pidFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const QDeadlineTimer deadline(1000);
        bool locked = false;
        while (!(locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0) && !deadline.hasExpired())
            QThread::msleep(20);
        if (!locked) {
            ::close(fd);
            return false;
        }
        mHeld.emplace(pidFile, fd);
        return true;
    }

    void release(const QString& pidFile)
    {
        std::lock_guard lock(mMutex);
        if (const auto held = mHeld.find(pidFile); held != mHeld.end()) {
            ::close(held->second);
            mHeld.erase(held);
        }
    }

private:
    std::mutex mMutex;
    std::map<QString, int> mHeld;
};

OwnerLocks& ownerLocks()
{
    static OwnerLocks* locks = new OwnerLocks;  // lives as long as the process
    return *locks;
}

// True when no running copy of the program holds the pid file's lock.
bool ownerEnded(const QString& pidFile)
{
    const int fd = ::open(QFile::encodeName(pidFile).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool ended = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return ended;
}

// A private temporary folder for an engine, so that whatever it leaves
// behind can be found and removed; empty when none can be made.
QString makeEngineTempFolder()
{
    QByteArray pattern = QFile::encodeName(Files::tempFolder() + QStringLiteral("/orvendale-engine-XXXXXX"));
    return ::mkdtemp(pattern.data()) ? QFile::decodeName(pattern) : QString();
}

void removeEngineTempFolder(const QString& folder)
{
    if (QFileInfo(folder).fileName().startsWith(QStringLiteral("orvendale-engine-")))
        QDir(folder).removeRecursively();
}

// A deck in the temporary folder: the only decks the engine layer records
// and removes; nothing outside that folder is ever touched.
bool isTemporaryDeck(const QString& deck)
{
    return QFileInfo(deck).absolutePath() == QFileInfo(Files::tempFolder()).absoluteFilePath();
}

// Engines ending in the background, by profile.
struct Ending {
    std::mutex mutex;
    std::multimap<QString, std::shared_future<void>> processes;
};

Ending& ending()
{
    static Ending* all = new Ending;  // lives as long as the process
    return *all;
}

std::vector<std::shared_future<void>> takeEnding(const std::function<bool(const QString&)>& onProfile)
{
    std::lock_guard lock(ending().mutex);
    std::vector<std::shared_future<void>> taken;
    auto& processes = ending().processes;
    for (auto it = processes.begin(); it != processes.end();) {
        if (onProfile(it->first)) {
            taken.push_back(it->second);
            it = processes.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

}  // namespace

bool EngineProcess::installed(const EngineSettings& settings)
{
    const QFileInfo program(settings.officeProgram);
    return program.isExecutable() && QFileInfo::exists(program.dir().filePath(QStringLiteral("libsdlo.so")));
}

EngineProcess EngineProcess::start(const EngineSettings& settings, const std::function<bool()>& answers, Use use)
{
    using Cause = EngineStartFailure::Cause;
    if (!installed(settings))
        throw EngineStartFailed(Cause::NotInstalled,
                                QStringLiteral("LibreOffice Impress, the presentation engine, is not installed "
                                               "(%1 was not found). Install the package libreoffice-impress.")
                                    .arg(settings.officeProgram));
    prepareEngineProfile(settings.profileDir, settings.officeProgram);
    waitForEnding(settings.profileDir);
    EngineProcess started;
    started.mStartedHere = true;
    started.mProfileDir = settings.profileDir;
    started.mPidFile = settings.pidFile();
    started.mTempFolder = makeEngineTempFolder();
    // Without the lock, the next copy of the program would take the engine
    // for one left behind and end it.
    if (!ownerLocks().hold(started.mPidFile)) {
        removeEngineTempFolder(started.mTempFolder);
        throw EngineStartFailed(Cause::Broken,
                                QStringLiteral("The presentation engine could not be started: its record %1 is held "
                                               "by another program.")
                                    .arg(QDir::toNativeSeparators(started.mPidFile)));
    }
    // A start that fails leaves nothing behind: its process, pid file and
    // temporary folder go with it.
    auto leaveNothing = qScopeGuard([&] {
        if (processRunning(started.mPid))
            ::kill(static_cast<pid_t>(started.mPid), SIGKILL);
        waitUntilEnded(started.mPid, 5000);
        QFile::remove(started.mPidFile);
        ownerLocks().release(started.mPidFile);
        removeEngineTempFolder(started.mTempFolder);
    });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!started.mTempFolder.isEmpty())
        environment.insert(QStringLiteral("TMPDIR"), started.mTempFolder);

    const QStringList arguments = {
        profileArgument(settings),
        settings.headless ? QStringLiteral("--headless") : QStringLiteral("--invisible"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nologo"),
        QStringLiteral("--nodefault"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(settings.pipeName),
    };
    // A fresh profile makes the engine end once and ask to be started again;
    // the whole start, every attempt included, has one deadline.
    const QDeadlineTimer deadline(settings.startTimeoutMs);
    for (int attempt = 0; attempt < 3 && !deadline.hasExpired(); ++attempt) {
        QProcess process;
        process.setProgram(settings.officeProgram);
        process.setArguments(arguments);
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        if (!process.startDetached(&started.mPid))
            throw EngineStartFailed(
                Cause::NotInstalled,
                QStringLiteral("The presentation engine %1 could not be run.").arg(settings.officeProgram));
        PidFile{started.mPid, QCoreApplication::applicationPid(), started.mTempFolder, use == Use::AsSpare, {}}.write(
            started.mPidFile);

        while (!deadline.hasExpired() && processRunning(started.mPid)) {
            if (answers()) {
                leaveNothing.dismiss();
                return started;
            }
            QThread::msleep(50);
        }
    }
    if (processRunning(started.mPid) || deadline.hasExpired())
        throw EngineStartFailed(Cause::TooSlow,
                                QStringLiteral("The presentation engine did not answer within %1 seconds.")
                                    .arg(settings.startTimeoutMs / 1000));
    throw EngineStartFailed(Cause::Broken,
                            QStringLiteral("The presentation engine ended while starting; it may be broken. "
                                           "Try reinstalling the package libreoffice-impress."));
}

EngineProcess EngineProcess::recorded(const EngineSettings& settings)
{
    EngineProcess found;
    found.mProfileDir = settings.profileDir;
    found.mPidFile = settings.pidFile();
    if (const PidFile record = PidFile::read(found.mPidFile); isOurEngine(record.engine, settings)) {
        found.mPid = record.engine;
        found.mTempFolder = record.tempFolder;
    }
    return found;
}

void EngineProcess::endLeftBehind(const EngineSettings& settings)
{
    const QString pidFile = settings.pidFile();
    if (!QFileInfo::exists(pidFile) || !ownerEnded(pidFile))
        return;
    const PidFile left = PidFile::read(pidFile);
    // A left-behind engine is asked nothing: one that is stuck would hold
    // the start back.
    if (isOurEngine(left.engine, settings)) {
        ::kill(static_cast<pid_t>(left.engine), SIGKILL);
        if (!waitUntilEnded(left.engine, 5000))
            return;
    }
    // Only the temporary decks of the program that started it are recorded
    // for this engine.
    for (const QString& deck : left.decks)
        if (isTemporaryDeck(deck))
            TemporaryFiles::removeDeck(deck);
    removeEngineTempFolder(left.tempFolder);
    QFile::remove(pidFile);
}

void EngineProcess::recordAsTaken() const
{
    PidFile record = PidFile::read(mPidFile);
    record.spare = false;
    record.write(mPidFile);
}

void EngineProcess::recordDeck(const QString& deck) const
{
    if (!mStartedHere || !isTemporaryDeck(deck))
        return;
    PidFile record = PidFile::read(mPidFile);
    if (record.engine != mPid || record.decks.contains(deck))
        return;
    record.decks << deck;
    record.write(mPidFile);
}

bool EngineProcess::running() const
{
    return processRunning(mPid);
}

void EngineProcess::endInBackground(int graceMs) const
{
    // No engine: nothing to end, and the pid file and lock may be those of
    // a start still under way.
    if (mPid <= 0)
        return;
    const EngineProcess process = *this;
    std::shared_future<void> ended =
        std::async(std::launch::async, [process, graceMs] { process.waitForEnd(graceMs); }).share();
    std::lock_guard lock(ending().mutex);
    ending().processes.emplace(mProfileDir, std::move(ended));
}

void EngineProcess::waitForEnding(const QString& profileDir)
{
    for (const auto& ended : takeEnding([&](const QString& profile) { return profile == profileDir; }))
        ended.wait();
}

void EngineProcess::waitForAllEnding()
{
    for (const auto& ended : takeEnding([](const QString&) { return true; }))
        ended.wait();
}

void EngineProcess::waitForEnd(int graceMs) const
{
    if (!waitUntilEnded(mPid, graceMs))
        ::kill(static_cast<pid_t>(mPid), SIGKILL);
    if (waitUntilEnded(mPid, 5000)) {
        QFile::remove(mPidFile);
        removeEngineTempFolder(mTempFolder);
        ownerLocks().release(mPidFile);
    }
}
