#include "plan/plan_snapshots.h"

#include "plan/plan_keys.h"
#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <iterator>

namespace {

const char* const kKindNames[] = {"before-new", "before-open", "before-restore", "deck", "named", "before-import"};

PlanSnapshots::Kind kindNamed(const QString& name)
{
    for (int kind = 0; kind < int(std::size(kKindNames)); ++kind)
        if (name == QLatin1String(kKindNames[kind]))
            return static_cast<PlanSnapshots::Kind>(kind);
    return PlanSnapshots::Kind::Named;
}

// The first words of the plan's first text that has any, up to 60
// characters, on one line.
QString firstWordsOf(const PlanFile::Texts& texts)
{
    for (const QString& key : PlanFile::keys()) {
        if (key == PlanKeys::logo || key == PlanKeys::design)
            continue;
        const QString text = texts.value(key).simplified();
        if (!text.isEmpty())
            return text.size() <= 60 ? text : text.left(text.lastIndexOf(QLatin1Char(' '), 60)) + QStringLiteral("…");
    }
    return QString();
}

}  // namespace

QString PlanSnapshots::Snapshot::label() const
{
    switch (kind) {
    case Kind::BeforeNew: return QStringLiteral("Before a new plan");
    case Kind::BeforeOpen: return QStringLiteral("Before opening a plan");
    case Kind::BeforeRestore: return QStringLiteral("Before restoring a snapshot");
    case Kind::Deck: return QStringLiteral("A deck was made");
    case Kind::Named: return name;
    case Kind::BeforeImport: return QStringLiteral("Before importing %1").arg(name);
    }
    return name;
}

PlanSnapshots::PlanSnapshots(QString folder) : mFolder(std::move(folder)) {}

void PlanSnapshots::take(const PlanFile::Texts& texts, Kind kind, const QString& name)
{
    if (!QDir().mkpath(mFolder))
        throw Failure(QStringLiteral("The snapshot could not be taken: the folder %1 cannot be made.")
                          .arg(QDir::toNativeSeparators(mFolder)));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // Named by the time taken in UTC, to the millisecond, a number where two
    // fall in the same one, and the kind: names sort by time, also across a
    // change of the clocks, and the kind is known without reading the file.
    QString path;
    for (int n = 0; path.isEmpty() || QFile::exists(path); ++n)
        path = QDir(mFolder).filePath(QStringLiteral("%1-%2-%3.%4")
                                          .arg(now.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
                                          .arg(n)
                                          .arg(QLatin1String(kKindNames[static_cast<int>(kind)]), PlanFile::kSuffix));
    PlanFile::write(path, texts,
                    {{QStringLiteral("kind"), QLatin1String(kKindNames[static_cast<int>(kind)])},
                     {QStringLiteral("name"), name},
                     {QStringLiteral("taken"), now.toString(Qt::ISODateWithMs)},
                     {QStringLiteral("firstWords"), firstWordsOf(texts)}});
    const QString named = QStringLiteral("-%1.").arg(QLatin1String(kKindNames[static_cast<int>(Kind::Named)]));
    int automatic = 0;
    for (const QString& file : files())
        if (!file.contains(named) && ++automatic > kAutomaticKept)
            QFile::remove(QDir(mFolder).filePath(file));
}

QStringList PlanSnapshots::files() const
{
    return QDir(mFolder).entryList({QStringLiteral("*.") + PlanFile::kSuffix}, QDir::Files,
                                   QDir::Name | QDir::Reversed);
}

QList<PlanSnapshots::Snapshot> PlanSnapshots::list() const
{
    QList<Snapshot> snapshots;
    for (const QString& file : files()) {
        Snapshot snapshot;
        snapshot.path = QDir(mFolder).filePath(file);
        const QJsonObject about = PlanFile::about(snapshot.path);
        snapshot.taken = QDateTime::fromString(about.value(QStringLiteral("taken")).toString(), Qt::ISODateWithMs);
        snapshot.kind = kindNamed(about.value(QStringLiteral("kind")).toString());
        snapshot.name = about.value(QStringLiteral("name")).toString();
        snapshot.firstWords = about.value(QStringLiteral("firstWords")).toString();
        snapshots << snapshot;
    }
    return snapshots;
}

PlanFile::Texts PlanSnapshots::texts(const Snapshot& snapshot) const
{
    return PlanFile::read(snapshot.path);
}

void PlanSnapshots::remove(const Snapshot& snapshot)
{
    QFile::remove(snapshot.path);
}
