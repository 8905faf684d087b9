#pragma once

// Copies of the plan as it stood at a moment, to go back to: taken before
// a new plan, an opened one, an imported document or a restored snapshot
// replaces it, at each
// deck made, and whenever the user asks, under a name. Each is a plan file
// in a folder of the program's data; the newest 50 taken by the program
// are kept, named ones until deleted.
#include "plan/plan_file.h"

#include <QDateTime>
#include <QList>

class PlanSnapshots {
public:
    static constexpr int kAutomaticKept = 50;

    // A snapshot before an import is named after the document imported.
    enum class Kind { BeforeNew, BeforeOpen, BeforeRestore, Deck, Named, BeforeImport };
    struct Snapshot {
        QString path;
        QDateTime taken;
        Kind kind = Kind::Named;
        QString name;
        // The plan's first words, to tell snapshots apart.
        QString firstWords;
        // What the list shows for it: the kind, or the name given.
        QString label() const;
    };

    explicit PlanSnapshots(QString folder);

    // Throws Failure when the snapshot cannot be written.
    void take(const PlanFile::Texts& texts, Kind kind, const QString& name = QString());
    // Newest first.
    QList<Snapshot> list() const;
    // Throws Failure when the snapshot cannot be read.
    PlanFile::Texts texts(const Snapshot& snapshot) const;
    void remove(const Snapshot& snapshot);

private:
    // The snapshots' file names, newest first.
    QStringList files() const;

    QString mFolder;
};
