#pragma once

// The plan as a document: the thirteen texts, the logo and the design of
// one window, held in memory. Every change also goes to the settings store
// at once, so that a keystroke is never lost; once saved as a plan file,
// that file is kept current too, written whole within a second of the last
// change and when the program ends. The plan file, the deck, the export and
// snapshots are made from the document, never read back from the store,
// which another running copy of the program may write as well.
//
// A plan file open in one window is locked (a lock file beside it names
// the process and host), so that a second window does not write over it;
// and a plan file that another program changed since this document last
// read or wrote it is never written over without asking.
#include "plan/plan_file.h"
#include "plan/plan_snapshots.h"
#include "shell/failure.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <memory>

class QLockFile;
class SettingsStore;

class PlanDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentFiles = 8;
    // How long after the last change the plan file is written.
    static constexpr int kFileDelayMs = 500;

    // The plan file is open in another Orvendale window, which the
    // description names.
    class FileInUse : public Failure {
        using Failure::Failure;
    };
    // Another program changed the plan file since this document last read
    // or wrote it; nothing was written.
    class FileChangedElsewhere : public Failure {
        using Failure::Failure;
    };

    // An empty plan. The program's dataFolder holds the snapshots and the
    // logos' copies; the plan files opened or saved also join the desktop's
    // desktopRecentList.
    PlanDocument(SettingsStore& store, const QString& dataFolder, const QString& desktopRecentList);
    ~PlanDocument() override;

    // Takes the plan the store holds, as the program starts.
    void readStore();

    // The plan file kept current, or "" while the plan is in the store alone.
    QString file() const { return mFile; }
    // Why the plan file could not be locked ("" when it is, or there is no
    // file): it is written all the same.
    QString notLockedBecause() const { return mNotLockedBecause; }
    // The last write of the plan file failed: the plan is in the store
    // alone until a write works again.
    bool fileWriteFailing() const { return mWriteFailing; }
    // When the plan was last written, in UTC.
    QDateTime lastWritten() const { return mLastWritten; }
    // The plan files opened or saved, the last first.
    QStringList recentFiles() const;

    // The plan's text under a store key; every key of PlanFile::keys().
    QString text(const QString& key) const { return mTexts.value(key); }
    const PlanFile::Texts& texts() const { return mTexts; }
    // A text changed: it goes to the store at once, to the plan file soon.
    // Throws Failure when the store cannot take it.
    void setText(const QString& key, const QString& text);

    // The plan as the bytes of a plan file, its logo in them: for an
    // export of this window's plan.
    QByteArray asPlanFile();

    // Writes the plan to the file, which is kept current from then on.
    // Throws FileInUse when another window has it open, Failure when it
    // cannot be written.
    void saveAs(const QString& path);
    // Makes the plan file's texts the plan and keeps that file current.
    // Throws FileInUse when another window has it open, Failure when the
    // file is no plan; the plan stays as it was. The logo the file carries
    // becomes the plan's, once it passes a logo's checks (logoRefused).
    void open(const QString& path);
    // The plan file's texts as a plan of its own, in the store alone.
    void openCopy(const QString& path);
    // An empty plan in the store alone: the sections show their guides.
    void startNew();
    // The plan a document was made into, in the store alone until it is
    // saved as a plan file; the design stays, and there is no logo. The
    // plan before it is kept as a snapshot named after the document.
    void importPlan(const PlanFile::Texts& texts, const QString& documentName);
    // Reads the plan file again after another program changed it; the
    // plan as this window had it is kept as a snapshot first.
    void reload();
    // Keeps the plan in the store alone, the plan file left as it is.
    void letGoOfFile();

    // Opening, a new plan, a restore and each deck first keep the plan as
    // it stood in a snapshot. One that cannot be taken is told once
    // (snapshotFailed) and holds no command back; a named one throws
    // Failure.
    PlanSnapshots& snapshots() { return mSnapshots; }
    void takeSnapshot(PlanSnapshots::Kind kind, const QString& name = QString());
    // Makes the snapshot's texts the plan; the plan file, if any, follows.
    void restore(const PlanSnapshots::Snapshot& snapshot);
    // Writes a change the plan file does not hold yet, at once; for the
    // program's end. Throws FileChangedElsewhere, or Failure when it cannot.
    void writeNow();

signals:
    // The plan file, whether it can be written, or the time it was last
    // written changed.
    void stateChanged();
    // The texts were replaced: the window shows them afresh.
    void replaced();
    // A write of the plan file failed, the first time since one last worked.
    void fileWriteFailed(const QString& description);
    // A write found the plan file changed by another program.
    void fileChangedElsewhere(const QString& description);
    // A snapshot the program takes could not be, the first time.
    void snapshotFailed(const QString& description);
    // The logo a plan file carries did not pass a logo's checks: the plan
    // opened without it.
    void logoRefused(const QString& description);

private:
    void changed();
    void writeInBackground();
    // The plan file's texts, its logo made the plan's own.
    PlanFile::Texts textsOfFile(const QString& path, const QByteArray& bytes);
    // The logo as the plan file carries it.
    QByteArray embeddedLogo();
    QByteArray writeFile(const QString& path);
    void replaceTexts(const PlanFile::Texts& texts);
    // The plan as it stands kept before it is replaced: its snapshot, and
    // its file written. Throws Failure when it would be kept nowhere.
    void keepBeforeReplacing(PlanSnapshots::Kind kind, const QString& name = QString());
    struct FileLock {
        std::unique_ptr<QLockFile> lock;
        // Why there is no lock, where none could be made.
        QString notLockedBecause;
    };
    void keepFile(const QString& path, FileLock lock, const QByteArray& bytes);
    void forgetFile();
    // The lock of the plan file at path for this document. Throws FileInUse.
    FileLock lockFile(const QString& path);
    bool isOpenHere(const QString& path) const;

    SettingsStore& mStore;
    PlanFile::Texts mTexts;
    PlanSnapshots mSnapshots;
    QString mLogoFolder;
    QString mDesktopRecentList;
    // The logo as plan files carry it, made once for each logo.
    QString mEmbeddedLogoName;
    QByteArray mEmbeddedLogo;
    QString mFile;
    std::unique_ptr<QLockFile> mLock;
    QString mNotLockedBecause;
    // The hash of the plan file's bytes as this document last read or
    // wrote them.
    QByteArray mFileHash;
    QDateTime mLastWritten;
    // The plan file misses a change: its write is pending or failed.
    bool mFileBehind = false;
    bool mWriteFailing = false;
    bool mSnapshotFailureTold = false;
    QTimer mPendingWrite;
};
