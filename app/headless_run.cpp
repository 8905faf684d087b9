#include "app/headless_run.h"

#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/temporary_files.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

void printError(const QString& text)
{
    std::fprintf(stderr, "orvendale: %s\n", qPrintable(text));
}

HeadlessRun::HeadlessRun() : mWork(Files::tempFolder() + QStringLiteral("/orvendale-export-XXXXXX"))
{
    // What a run that was killed left behind goes first.
    TemporaryFiles::removeLeftBehind();
    if (prepareWorkFolder())
        prepareEngine();
}

HeadlessRun::~HeadlessRun()
{
    if (mEngine)
        mEngine->endInstancesStartedHere();
    mTermination.reset();
    TemporaryFiles::removeAll();
}

bool HeadlessRun::prepareWorkFolder()
{
    if (!mWork.isValid()) {
        mProblem = QStringLiteral("no temporary folder can be made in %1.").arg(Files::tempFolder());
        mProblemExit = ExportExit::NotWritten;
        return false;
    }
    // Recorded, so that the next start or run removes it should this one
    // be killed; removed with its record however this one ends.
    TemporaryFiles::record(mWork.path());
    qputenv("TEMP", mWork.path().toLocal8Bit());
    return true;
}

// The profiles are taken in turn: runs at once each take the first one no
// other run holds, and keep its lock while they run.
bool HeadlessRun::prepareEngine()
{
    EngineSettings settings = EngineSettings::forUser();
    settings.pipeName = QStringLiteral("orvendale-export-%1").arg(QCoreApplication::applicationPid());
    settings.headless = true;
    const QString first = Product::userDataFolder() + QStringLiteral("/export-engine-profile");
    QDir().mkpath(Product::userDataFolder());
    for (int number = 1; number <= kProfiles && !mProfileHeld; ++number) {
        settings.profileDir = number == 1 ? first : first + QStringLiteral("-%1").arg(number);
        auto lock = std::make_unique<QLockFile>(settings.profileDir + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            mProfileHeld = std::move(lock);
    }
    if (!mProfileHeld) {
        mProblem = QStringLiteral("%1 exports are running already, the most at once: try again when one has ended.")
                       .arg(kProfiles);
        mProblemExit = ExportExit::EngineFailed;
        return false;
    }
    mEngine.emplace(mWindows, settings);
    mEngine->endInstanceLeftBehind();
    mTermination.emplace([] {},
                         [this](int signal) {
                             mInterrupted = signal;
                             mEngine->interruptCall();
                         });
    return true;
}

ExportExit HeadlessRun::planNotRead(const Failure& failure) const
{
    printError(failure.description());
    if (mInterrupted)
        return exitForSignal(mInterrupted);
    return dynamic_cast<const EngineUnavailable*>(&failure) ? ExportExit::EngineFailed : ExportExit::PlanUnreadable;
}
