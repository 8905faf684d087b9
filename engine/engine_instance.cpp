#include "engine_instance.h"

#include "engine_profile.h"
#include "file_utils.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <cstdlib>
#include <future>
#include <thread>
#include <unistd.h>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

// The local UNO environment that bridges to the engine, made once.
Reference<uno::XComponentContext> localContext()
{
    static Reference<uno::XComponentContext> context = [] {
        qputenv("URE_BOOTSTRAP",
                QByteArray("vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc"));
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

QString profileArgument(const EngineSettings& settings)
{
    return QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(settings.profileDir).toString();
}

// Application objects of this program share the instance on their pipe.
QHash<QString, std::weak_ptr<EngineInstance>>& instances()
{
    static QHash<QString, std::weak_ptr<EngineInstance>> map;
    return map;
}

bool processRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // A zombie has ended; only its entry is left for its parent to collect.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || line.mid(close + 2, 1) != "Z";
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

// What the pid file of an engine that this layer started records: the
// engine's process, the program that started it, and the engine's own
// temporary folder.
struct PidFile {
    qint64 engine = 0;
    qint64 owner = 0;
    QString tempFolder;

    static PidFile read(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        return {lines.value(0).trimmed().toLongLong(), lines.value(1).trimmed().toLongLong(), lines.value(2)};
    }

    void write(const QString& path) const
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(QStringLiteral("%1\n%2\n%3").arg(engine).arg(owner).arg(tempFolder).toUtf8());
    }
};

QString pidFilePath(const EngineSettings& settings)
{
    return settings.profileDir + QStringLiteral("/orvendale-engine.pid");
}

// The pid the pid file names, when that process is the engine on the
// settings' profile; 0 otherwise, so that a pid the system has given to
// another process since is never signalled.
qint64 readPid(const EngineSettings& settings)
{
    const qint64 pid = PidFile::read(pidFilePath(settings)).engine;
    return isOurEngine(pid, settings) ? pid : 0;
}

// True while the program that started an engine runs: a copy of this
// program under that pid.
bool ownerRunning(qint64 owner)
{
    return processRunning(owner)
           && QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(owner))
                  == QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

// A private temporary folder for an engine, so that whatever it leaves
// behind can be found and removed; empty when none can be made.
QString makeEngineTempFolder()
{
    QByteArray pattern = QFile::encodeName(Main::tempFolder() + QStringLiteral("/orvendale-engine-XXXXXX"));
    return ::mkdtemp(pattern.data()) ? QFile::decodeName(pattern) : QString();
}

void removeEngineTempFolder(const QString& folder)
{
    if (QFileInfo(folder).fileName().startsWith(QStringLiteral("orvendale-engine-")))
        QDir(folder).removeRecursively();
}

bool waitUntilEnded(qint64 pid, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (processRunning(pid) && !deadline.hasExpired())
        QThread::msleep(20);
    return !processRunning(pid);
}

}  // namespace

QString fromUno(const rtl::OUString& text)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text.getStr()), text.getLength());
}

rtl::OUString toUno(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

QString engineGoneReason()
{
    if (CallWatchdog::killedAStuckEngine())
        return QStringLiteral("the presentation engine stopped responding for %1 seconds and was ended.")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(CallWatchdog::period()).count());
    return QStringLiteral("the presentation engine is no longer running.");
}

std::shared_ptr<EngineInstance> EngineInstance::reach(const EngineSettings& settings,
                                                      bool startIfNone)
{
    if (auto shared = instances().value(settings.pipeName).lock())
        if (!shared->mQuitRequested)
            return shared;

    std::shared_ptr<EngineInstance> instance(new EngineInstance);
    instance->mPidFile = pidFilePath(settings);
    if (!instance->connect(settings.pipeName)) {
        if (!startIfNone)
            throw Failure(QStringLiteral("The presentation engine is not running."));
        instance->start(settings);
    }
    if (!instance->mPid)
        instance->mPid = readPid(settings);
    CallWatchdog::watchProcess(instance->mPid);
    instances().insert(settings.pipeName, instance);
    return instance;
}

bool EngineInstance::connect(const QString& pipeName)
{
    try {
        const auto resolver = bridge::UnoUrlResolver::create(localContext());
        const QString url =
            QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName);
        mContext.set(resolver->resolve(toUno(url)), UNO_QUERY);
        if (!mContext.is())
            return false;
        mDesktop = frame::Desktop::create(mContext);
        return true;
    } catch (const uno::Exception&) {
        mContext.clear();
        return false;
    }
}

void EngineInstance::start(const EngineSettings& settings)
{
    if (!QFileInfo(settings.officeProgram).isExecutable()
        || !QFileInfo::exists(QFileInfo(settings.officeProgram).dir().filePath(QStringLiteral("libsdlo.so"))))
        throw Failure(QStringLiteral("LibreOffice Impress, the presentation engine, is not installed "
                                     "(%1 was not found). Install the package libreoffice-impress.")
                          .arg(settings.officeProgram));
    prepareEngineProfile(settings.profileDir);
    mTempFolder = makeEngineTempFolder();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!mTempFolder.isEmpty())
        environment.insert(QStringLiteral("TMPDIR"), mTempFolder);

    const QStringList arguments = {
        profileArgument(settings),
        settings.headless ? QStringLiteral("--headless") : QStringLiteral("--invisible"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nologo"),
        QStringLiteral("--nodefault"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(settings.pipeName),
    };
    // A fresh profile makes the engine end once and ask to be started again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess process;
        process.setProgram(settings.officeProgram);
        process.setArguments(arguments);
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        if (!process.startDetached(&mPid))
            throw Failure(QStringLiteral("The presentation engine %1 could not be started.")
                              .arg(settings.officeProgram));
        mStartedHere = true;
        PidFile{mPid, QCoreApplication::applicationPid(), mTempFolder}.write(mPidFile);

        QDeadlineTimer deadline(settings.startTimeoutMs);
        while (!deadline.hasExpired() && processRunning(mPid)) {
            if (connect(settings.pipeName))
                return;
            QThread::msleep(50);
        }
        if (processRunning(mPid)) {
            ::kill(static_cast<pid_t>(mPid), SIGKILL);
            throw Failure(QStringLiteral("The presentation engine did not answer within %1 seconds.")
                              .arg(settings.startTimeoutMs / 1000));
        }
    }
    throw Failure(QStringLiteral("The presentation engine ended while starting; it may be broken. "
                                 "Try reinstalling the package libreoffice-impress."));
}

int EngineInstance::presentationCount()
{
    return engineCall(QStringLiteral("Counting the open presentations"), [&] {
        const auto documents = mDesktop->getComponents()->createEnumeration();
        int count = 0;
        while (documents->hasMoreElements()) {
            Reference<presentation::XPresentationSupplier> deck(documents->nextElement(), UNO_QUERY);
            if (deck.is())
                ++count;
        }
        return count;
    });
}

void EngineInstance::quit()
{
    if (mQuitRequested)
        return;
    mQuitRequested = true;
    selectedShape.clear();
    selectedDocument.clear();
    closeAllDocumentsUnsaved();
    // Terminating is a call that a stuck engine might never answer: it is made
    // on a thread of its own, and the process is killed when it has not ended
    // in time, which ends the call too.
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> terminated = finished->get_future();
    std::thread([desktop = mDesktop, finished] {
        try {
            desktop->terminate();
        } catch (const uno::Exception&) {
            // The connection drops while the engine shuts down.
        }
        finished->set_value();
    }).detach();
    waitForExit(10000);
    // Without a process to wait for or kill, the call is given a bounded
    // time of its own; one that never returns is left behind.
    terminated.wait_for(std::chrono::seconds(mPid ? 5 : 10));
}

void EngineInstance::closeAllDocumentsUnsaved()
{
    const CallWatchdog::Guard deadline;
    try {
        const auto documents = mDesktop->getComponents()->createEnumeration();
        while (documents->hasMoreElements()) {
            const Any element = documents->nextElement();
            if (const Reference<util::XModifiable> modified{element, UNO_QUERY}; modified.is())
                modified->setModified(false);
            if (const Reference<util::XCloseable> closeable{element, UNO_QUERY}; closeable.is())
                closeable->close(true);
        }
    } catch (const uno::Exception&) {
        // Whatever is left goes with the process.
    }
}

void EngineInstance::waitForExit(int timeoutMs)
{
    if (!waitUntilEnded(mPid, timeoutMs))
        ::kill(static_cast<pid_t>(mPid), SIGKILL);
    if (waitUntilEnded(mPid, 5000)) {
        QFile::remove(mPidFile);
        removeEngineTempFolder(mTempFolder);
    }
}

void EngineInstance::endAllStartedHere()
{
    for (const auto& held : std::as_const(instances()))
        if (const auto instance = held.lock(); instance && instance->mStartedHere)
            instance->quit();
}

void EngineInstance::endLeftBehind(const EngineSettings& settings)
{
    const PidFile left = PidFile::read(pidFilePath(settings));
    if (!left.engine || ownerRunning(left.owner))
        return;
    if (isOurEngine(left.engine, settings)) {
        CallWatchdog::watchProcess(left.engine);
        const QStringList decks = openDocumentFiles(settings.pipeName);
        CallWatchdog::forgetProcess(left.engine);
        ::kill(static_cast<pid_t>(left.engine), SIGKILL);
        if (!waitUntilEnded(left.engine, 5000))
            return;
        // Only the temporary decks of the program that started it are ever
        // open in this engine; nothing outside the temporary folder is touched.
        for (const QString& deck : decks)
            if (const QFileInfo file(deck); file.absolutePath() == QFileInfo(Main::tempFolder()).absoluteFilePath()) {
                QFile::remove(deck);
                QFile::remove(file.dir().filePath(QStringLiteral(".~lock.%1#").arg(file.fileName())));
            }
    }
    removeEngineTempFolder(left.tempFolder);
    QFile::remove(pidFilePath(settings));
}

QStringList EngineInstance::openDocumentFiles(const QString& pipeName)
{
    QStringList files;
    EngineInstance instance;
    const CallWatchdog::Guard deadline;
    if (!instance.connect(pipeName))
        return files;
    try {
        const auto documents = instance.mDesktop->getComponents()->createEnumeration();
        while (documents->hasMoreElements())
            if (const Reference<frame::XModel> document{documents->nextElement(), UNO_QUERY}; document.is())
                files << QUrl(fromUno(document->getURL())).toLocalFile();
    } catch (const uno::Exception&) {
        // An engine that cannot list its documents keeps them to itself.
    }
    return files;
}

EngineInstance::~EngineInstance()
{
    const struct Forget {
        qint64 pid;
        ~Forget() { CallWatchdog::forgetProcess(pid); }
    } forget{mPid};
    // Like an automation server, an instance started for this program ends
    // when the program lets go of it, unless it shows a window or holds a
    // presentation.
    if (!mStartedHere || mQuitRequested || visible || !processRunning(mPid))
        return;
    try {
        if (presentationCount() == 0)
            quit();
    } catch (const Failure&) {
    }
}
