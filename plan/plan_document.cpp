#include "plan/plan_document.h"

#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "shell/desktop_recent_files.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/settings_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <utility>

namespace {

// Where the store keeps the recent plan files, one a line; no plan key is
// like it.
const QString kRecentFilesKey = QStringLiteral("Recent Plan Files");

QByteArray hashOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The lock file beside a plan file (the one its links lead to), hidden as
// such files are.
QString lockFileOf(const QString& path)
{
    const QFileInfo file(Files::fileBehindLinks(path));
    return file.dir().filePath(QStringLiteral(".%1.lock").arg(file.fileName()));
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

PlanDocument::PlanDocument(SettingsStore& store, const QString& dataFolder, const QString& desktopRecentList)
    : mStore(store),
      mSnapshots(dataFolder + QStringLiteral("/snapshots")),
      mLogoFolder(PlanLogo::folder(dataFolder)),
      mDesktopRecentList(desktopRecentList)
{
    mPendingWrite.setSingleShot(true);
    mPendingWrite.setInterval(kFileDelayMs);
    connect(&mPendingWrite, &QTimer::timeout, this, [this] { writeInBackground(); });
}

PlanDocument::~PlanDocument() = default;

void PlanDocument::readStore()
{
    mTexts = PlanFile::storedTexts(mStore);
}

QStringList PlanDocument::recentFiles() const
{
    return mStore.getSetting(kRecentFilesKey).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void PlanDocument::setText(const QString& key, const QString& text)
{
    mTexts.insert(key, text);
    mStore.saveSetting(key, text);
    changed();
}

// Runs at every keystroke: the state is told only when the second it
// shows moves on. The time is kept in UTC, which takes no look at the
// system's time zone.
void PlanDocument::changed()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const bool newSecond = now.toSecsSinceEpoch() != mLastWritten.toSecsSinceEpoch();
    mLastWritten = now;
    if (!mFile.isEmpty()) {
        mFileBehind = true;
        mPendingWrite.start();
    }
    if (newSecond)
        emit stateChanged();
}

// A write after a pause in typing. Its failure is told once, and tried
// again at the next change and at the end.
void PlanDocument::writeInBackground()
{
    try {
        writeNow();
    } catch (const FileChangedElsewhere& changed) {
        emit fileChangedElsewhere(changed.description());
    } catch (const Failure& failure) {
        if (!mWriteFailing) {
            mWriteFailing = true;
            emit stateChanged();
            emit fileWriteFailed(failure.description());
        }
    }
}

void PlanDocument::saveAs(const QString& path)
{
    const bool openHere = isOpenHere(path);
    FileLock lock = openHere ? FileLock{} : lockFile(path);
    const QByteArray bytes = writeFile(path);
    keepFile(path, openHere ? FileLock{std::move(mLock), mNotLockedBecause} : std::move(lock), bytes);
}

void PlanDocument::open(const QString& path)
{
    const bool openHere = isOpenHere(path);
    FileLock lock = openHere ? FileLock{} : lockFile(path);
    const QByteArray bytes = PlanFile::readBytes(path);
    const PlanFile::Texts texts = textsOfFile(path, bytes);
    keepBeforeReplacing(PlanSnapshots::Kind::BeforeOpen);
    replaceTexts(texts);
    keepFile(path, openHere ? FileLock{std::move(mLock), mNotLockedBecause} : std::move(lock), bytes);
    emit replaced();
    // What the window stores as it shows the plan (the guides of empty
    // sections) is no change of the file: opening a file leaves it as it is.
    mPendingWrite.stop();
    mFileBehind = false;
}

void PlanDocument::openCopy(const QString& path)
{
    const PlanFile::Texts texts = textsOfFile(path, PlanFile::readBytes(path));
    keepBeforeReplacing(PlanSnapshots::Kind::BeforeOpen);
    replaceTexts(texts);
    forgetFile();
    mLastWritten = QDateTime::currentDateTimeUtc();
    emit replaced();
    emit stateChanged();
}

void PlanDocument::startNew()
{
    keepBeforeReplacing(PlanSnapshots::Kind::BeforeNew);
    replaceTexts({});
    forgetFile();
    mLastWritten = QDateTime::currentDateTimeUtc();
    emit replaced();
    emit stateChanged();
}

void PlanDocument::importPlan(const PlanFile::Texts& texts, const QString& documentName)
{
    keepBeforeReplacing(PlanSnapshots::Kind::BeforeImport, documentName);
    PlanFile::Texts imported = texts;
    imported.insert(PlanKeys::design, mTexts.value(PlanKeys::design));
    imported.insert(PlanKeys::logo, QString());
    replaceTexts(imported);
    forgetFile();
    mLastWritten = QDateTime::currentDateTimeUtc();
    emit replaced();
    emit stateChanged();
}

void PlanDocument::reload()
{
    const QByteArray bytes = PlanFile::readBytes(mFile);
    const PlanFile::Texts texts = textsOfFile(mFile, bytes);
    takeSnapshot(PlanSnapshots::Kind::BeforeOpen);
    replaceTexts(texts);
    mFileHash = hashOf(bytes);
    mWriteFailing = false;
    emit replaced();
    // What the window stores as it shows the plan is no change of the file.
    mPendingWrite.stop();
    mFileBehind = false;
    emit stateChanged();
}

void PlanDocument::letGoOfFile()
{
    forgetFile();
    emit stateChanged();
}

void PlanDocument::takeSnapshot(PlanSnapshots::Kind kind, const QString& name)
{
    try {
        mSnapshots.take(mTexts, kind, name);
    } catch (const Failure& failure) {
        // The user's own snapshot is told by whoever asked for it.
        if (kind != PlanSnapshots::Kind::Named && !std::exchange(mSnapshotFailureTold, true))
            emit snapshotFailed(failure.description());
        throw;
    }
}

void PlanDocument::restore(const PlanSnapshots::Snapshot& snapshot)
{
    const PlanFile::Texts texts = mSnapshots.texts(snapshot);
    takeSnapshot(PlanSnapshots::Kind::BeforeRestore);
    replaceTexts(texts);
    changed();
    emit replaced();
}

void PlanDocument::writeNow()
{
    mPendingWrite.stop();
    if (!mFileBehind)
        return;
    bool changedElsewhere = false;
    try {
        changedElsewhere = hashOf(PlanFile::readBytes(mFile)) != mFileHash;
    } catch (const Failure&) {
        // Gone or unreadable: the write says whether it can be made anew.
    }
    if (changedElsewhere)
        throw FileChangedElsewhere(QStringLiteral("%1 was changed by another program since %2 last wrote it.")
                                       .arg(shown(mFile), Product::name));
    mFileHash = hashOf(writeFile(mFile));
    mFileBehind = false;
    if (mWriteFailing) {
        mWriteFailing = false;
        emit stateChanged();
    }
}

PlanFile::Texts PlanDocument::textsOfFile(const QString& path, const QByteArray& bytes)
{
    PlanFile::Texts texts = PlanFile::parse(path, bytes);
    const QByteArray logo = PlanFile::logoPicture(bytes);
    if (logo.isEmpty())
        return texts;
    try {
        texts.insert(PlanKeys::logo, PlanLogo::adoptBytes(logo, path, mLogoFolder));
    } catch (const Failure& failure) {
        texts.insert(PlanKeys::logo, QString());
        emit logoRefused(failure.description());
    }
    return texts;
}

QByteArray PlanDocument::embeddedLogo()
{
    const QString name = mTexts.value(PlanKeys::logo);
    if (name != mEmbeddedLogoName) {
        mEmbeddedLogoName = name;
        mEmbeddedLogo = name.isEmpty() ? QByteArray() : PlanLogo::embeddable(PlanLogo::copyOf(name, mLogoFolder));
    }
    return mEmbeddedLogo;
}

QByteArray PlanDocument::writeFile(const QString& path)
{
    return PlanFile::write(path, mTexts, {}, embeddedLogo());
}

QByteArray PlanDocument::asPlanFile()
{
    return PlanFile::toBytes(mTexts, {}, embeddedLogo());
}

void PlanDocument::replaceTexts(const PlanFile::Texts& texts)
{
    for (const QString& key : PlanFile::keys()) {
        mTexts.insert(key, texts.value(key));
        mStore.saveSetting(key, texts.value(key));
    }
}

void PlanDocument::keepBeforeReplacing(PlanSnapshots::Kind kind, const QString& name)
{
    bool snapshotTaken = true;
    try {
        takeSnapshot(kind, name);
    } catch (const Failure&) {
        snapshotTaken = false;
    }
    try {
        writeNow();
    } catch (const Failure& failure) {
        // The plan is only in this window and the store, which is about to
        // be replaced.
        if (!snapshotTaken)
            throw Failure(QStringLiteral("The plan is kept as it stands: %1 Neither its snapshot nor its plan "
                                         "file could be written. Save it with Plan > Save As… first.")
                              .arg(failure.description()));
    }
}

void PlanDocument::keepFile(const QString& path, FileLock lock, const QByteArray& bytes)
{
    mPendingWrite.stop();
    mFileBehind = false;
    mWriteFailing = false;
    mFile = QFileInfo(path).absoluteFilePath();
    mLock = std::move(lock.lock);
    mNotLockedBecause = lock.notLockedBecause;
    mFileHash = hashOf(bytes);
    mLastWritten = QDateTime::currentDateTimeUtc();
    QStringList recent = recentFiles();
    recent.removeAll(mFile);
    recent.prepend(mFile);
    mStore.saveSetting(kRecentFilesKey, recent.mid(0, kRecentFiles).join(QLatin1Char('\n')));
    DesktopRecentFiles::add(mDesktopRecentList, mFile, PlanFile::kMimeType);
    emit stateChanged();
}

void PlanDocument::forgetFile()
{
    mPendingWrite.stop();
    mFile.clear();
    mLock.reset();
    mNotLockedBecause.clear();
    mFileHash.clear();
    mFileBehind = false;
    mWriteFailing = false;
}

bool PlanDocument::isOpenHere(const QString& path) const
{
    return !mFile.isEmpty() && QFileInfo(path).absoluteFilePath() == mFile;
}

PlanDocument::FileLock PlanDocument::lockFile(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(lockFileOf(path));
    // Only a lock whose process has ended is taken over, never one that is
    // merely old: a window may stay open for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return {std::move(lock), QString()};
    qint64 pid = 0;
    QString host;
    QString program;
    // A lock held by a process that says who it is; one that says nothing
    // (a lock file of another kind, a folder in its place) holds nothing.
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &program))
        throw FileInUse(QStringLiteral("The plan %1 is open in another %2 window (process %3 on %4).")
                            .arg(shown(path), Product::name)
                            .arg(pid)
                            .arg(host.isEmpty() ? QStringLiteral("this computer") : host));
    return {nullptr, lock->error() == QLockFile::PermissionError
                         ? QStringLiteral("its folder does not take a lock file")
                     : lock->error() == QLockFile::LockFailedError
                         ? QStringLiteral("%1 beside it is no lock file").arg(QFileInfo(lockFileOf(path)).fileName())
                         : QStringLiteral("no lock file can be made beside it")};
}
