#include "plan/plan_document.h"

#include "shell/failure.h"
#include "shell/settings_store.h"

#include <QFileInfo>

namespace {

// Where the store keeps the recent plan files, one a line; no plan key is
// like it.
const QString kRecentFilesKey = QStringLiteral("Recent Plan Files");

}  // namespace

PlanDocument::PlanDocument(SettingsStore& store, const QString& snapshotFolder)
    : mStore(store), mSnapshots(snapshotFolder)
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

void PlanDocument::changed()
{
    mLastWritten = QDateTime::currentDateTime();
    if (!mFile.isEmpty()) {
        mFileBehind = true;
        mPendingWrite.start();
    }
    emit stateChanged();
}

void PlanDocument::saveAs(const QString& path)
{
    PlanFile::write(path, storedTexts());
    keepFile(path);
}

void PlanDocument::open(const QString& path)
{
    const PlanFile::Texts texts = PlanFile::read(path);
    takeSnapshot(PlanSnapshots::Kind::BeforeOpen);
    writeNow();
    for (auto text = texts.begin(); text != texts.end(); ++text)
        mStore.saveSetting(text.key(), text.value());
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
    mLastWritten = QDateTime::currentDateTime();
    emit replaced();
    emit stateChanged();
}

void PlanDocument::takeSnapshot(PlanSnapshots::Kind kind, const QString& name)
{
    mSnapshots.take(storedTexts(), kind, name);
}

void PlanDocument::restore(const PlanSnapshots::Snapshot& snapshot)
{
    const PlanFile::Texts texts = mSnapshots.texts(snapshot);
    takeSnapshot(PlanSnapshots::Kind::BeforeRestore);
    for (auto text = texts.begin(); text != texts.end(); ++text)
        mStore.saveSetting(text.key(), text.value());
    changed();
    emit replaced();
}

void PlanDocument::writeNow()
{
    mPendingWrite.stop();
    if (!mFileBehind)
        return;
    PlanFile::write(mFile, storedTexts());
    mFileBehind = false;
}

PlanFile::Texts PlanDocument::storedTexts() const
{
    PlanFile::Texts texts;
    for (const QString& key : PlanFile::keys())
        texts.insert(key, mStore.getSetting(key));
    return texts;
}

void PlanDocument::keepFile(const QString& path)
{
    mPendingWrite.stop();
    mFileBehind = false;
    mFile = QFileInfo(path).absoluteFilePath();
    mLastWritten = QDateTime::currentDateTime();
    QStringList recent = recentFiles();
    recent.removeAll(mFile);
    recent.prepend(mFile);
    mStore.saveSetting(kRecentFilesKey, recent.mid(0, kRecentFiles).join(QLatin1Char('\n')));
    emit stateChanged();
}
