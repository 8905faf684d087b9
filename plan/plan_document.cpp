#include "plan/plan_document.h"

#include "shell/desktop_recent_files.h"
#include "shell/failure.h"
#include "shell/settings_store.h"

#include <QFileInfo>

namespace {

// Where the store keeps the recent plan files, one a line; no plan key is
// like it.
const QString kRecentFilesKey = QStringLiteral("Recent Plan Files");

}  // namespace

PlanDocument::PlanDocument(SettingsStore& store, const QString& snapshotFolder, const QString& desktopRecentList)
    : mStore(store), mSnapshots(snapshotFolder), mDesktopRecentList(desktopRecentList)
{
    mPendingWrite.setSingleShot(true);
    mPendingWrite.setInterval(kFileDelayMs);
    // A write that fails here is tried again at the next change and at the
    // end, which tell the user.
    connect(&mPendingWrite, &QTimer::timeout, this, [this] {
        try {
            writeNow();
        } catch (const Failure&) {
        }
    });
}

QStringList PlanDocument::recentFiles() const
{
    return mStore.getSetting(kRecentFilesKey).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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

void PlanDocument::saveAs(const QString& path)
{
    PlanFile::write(path, PlanFile::storedTexts(mStore));
    keepFile(path);
}

void PlanDocument::open(const QString& path)
{
    const PlanFile::Texts texts = PlanFile::read(path);
    takeSnapshot(PlanSnapshots::Kind::BeforeOpen);
    writeNow();
    PlanFile::store(mStore, texts);
    keepFile(path);
    emit replaced();
    // What the window stores as it shows the plan (the guides of empty
    // sections) is no change of the file: opening a file leaves it as it is.
    mPendingWrite.stop();
    mFileBehind = false;
}

void PlanDocument::startNew()
{
    takeSnapshot(PlanSnapshots::Kind::BeforeNew);
    writeNow();
    for (const QString& key : PlanFile::keys())
        mStore.saveSetting(key, QString());
    mFile.clear();
    mFileBehind = false;
    mLastWritten = QDateTime::currentDateTimeUtc();
    emit replaced();
    emit stateChanged();
}

void PlanDocument::takeSnapshot(PlanSnapshots::Kind kind, const QString& name)
{
    mSnapshots.take(PlanFile::storedTexts(mStore), kind, name);
}

void PlanDocument::restore(const PlanSnapshots::Snapshot& snapshot)
{
    const PlanFile::Texts texts = mSnapshots.texts(snapshot);
    takeSnapshot(PlanSnapshots::Kind::BeforeRestore);
    PlanFile::store(mStore, texts);
    changed();
    emit replaced();
}

void PlanDocument::writeNow()
{
    mPendingWrite.stop();
    if (!mFileBehind)
        return;
    PlanFile::write(mFile, PlanFile::storedTexts(mStore));
    mFileBehind = false;
}

void PlanDocument::keepFile(const QString& path)
{
    mPendingWrite.stop();
    mFileBehind = false;
    mFile = QFileInfo(path).absoluteFilePath();
    mLastWritten = QDateTime::currentDateTimeUtc();
    QStringList recent = recentFiles();
    recent.removeAll(mFile);
    recent.prepend(mFile);
    mStore.saveSetting(kRecentFilesKey, recent.mid(0, kRecentFiles).join(QLatin1Char('\n')));
    DesktopRecentFiles::add(mDesktopRecentList, mFile, PlanFile::kMimeType);
    emit stateChanged();
}
