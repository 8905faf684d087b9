#pragma once

// The plan as a document. It always lies in the settings store, written at
// every keystroke; once saved as a plan file, that file is kept current too,
// written whole within a second of the last change and when the program
// ends. The files opened or saved last are remembered.
#include "plan/plan_file.h"
#include "plan/plan_snapshots.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

class SettingsStore;

class PlanDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentFiles = 8;
    // How long after the last change the plan file is written.
    static constexpr int kFileDelayMs = 500;

    // Snapshots are kept in snapshotFolder; the plan files opened or saved
    // also join the desktop's desktopRecentList.
    PlanDocument(SettingsStore& store, const QString& snapshotFolder, const QString& desktopRecentList);

    // The plan file kept current, or "" while the plan is in the store alone.
    QString file() const { return mFile; }
    // When the plan was last written, in UTC.
    QDateTime lastWritten() const { return mLastWritten; }
    // The plan files opened or saved, the last first.
    QStringList recentFiles() const;

    // A text of the plan changed in the store.
    void changed();
    // Writes the plan to the file, which is kept current from then on.
    // Throws Failure when it cannot be written.
    void saveAs(const QString& path);
    // Puts the plan file's texts in the store and keeps that file current.
    // Throws Failure, leaving the plan as it was, when the file is no plan.
    void open(const QString& path);
    // An empty plan in the store alone: the sections show their guides.
    void startNew();
    // Opening, a new plan and a restore first keep the plan as it stood in a
    // snapshot, which may throw Failure: the plan is not replaced then.
    PlanSnapshots& snapshots() { return mSnapshots; }
    void takeSnapshot(PlanSnapshots::Kind kind, const QString& name = QString());
    // Puts the snapshot's texts in the store; the plan file, if any, follows.
    void restore(const PlanSnapshots::Snapshot& snapshot);
    // Writes a change the plan file does not hold yet, at once; for the
    // program's end. Throws Failure when it cannot.
    void writeNow();

signals:
    // The plan file, or the time it was last written, changed.
    void stateChanged();
    // The texts in the store were replaced: the window shows them afresh.
    void replaced();

private:
    void keepFile(const QString& path);

    SettingsStore& mStore;
    PlanSnapshots mSnapshots;
    QString mDesktopRecentList;
    QString mFile;
    QDateTime mLastWritten;
    // The plan file misses a change: its write is pending or failed.
    bool mFileBehind = false;
    QTimer mPendingWrite;
};
