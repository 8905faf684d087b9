// Snapshots of the plan: kept as taken, listed newest first, the newest 50
// taken by the program kept and named ones until deleted; a restore gives
// back every text exactly.
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "plan/plan_snapshots.h"
#include "shell/settings_store.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

class PlanSnapshotsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;

    static PlanFile::Texts plan(const QString& company)
    {
        PlanFile::Texts texts;
        for (const QString& key : PlanFile::keys())
            texts.insert(key, QString());
        texts[PlanKeys::companyName] = company;
        return texts;
    }

private slots:
    // Far from UTC, so that a name in local time would show.
    void initTestCase() { qputenv("TZ", "Pacific/Kiritimati"); }
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void theNewestFiftyAutomaticOnesAndEveryNamedOneAreKept()
    {
        PlanSnapshots snapshots(mFolder->filePath("snapshots"));
        snapshots.take(plan("Kept by name"), PlanSnapshots::Kind::Named, "Before the board meeting");
        for (int i = 1; i <= 53; ++i)
            snapshots.take(plan(QString("Deck %1").arg(i)), PlanSnapshots::Kind::Deck);
        const QList<PlanSnapshots::Snapshot> kept = snapshots.list();
        QCOMPARE(kept.size(), 51);
        QCOMPARE(kept.first().firstWords, QString("Deck 53"));
        QCOMPARE(kept.first().label(), QString("A deck was made"));
        // Named by the moment taken in UTC, which orders them also across a
        // change of the clocks.
        QDateTime named =
            QDateTime::fromString(QFileInfo(kept.first().path).fileName().left(19), "yyyyMMdd-HHmmss-zzz");
        named.setTimeZone(QTimeZone::utc());
        QCOMPARE(named, kept.first().taken.toUTC());
        QCOMPARE(kept.at(49).firstWords, QString("Deck 4"));
        QCOMPARE(kept.last().label(), QString("Before the board meeting"));
        snapshots.remove(kept.last());
        QCOMPARE(snapshots.list().size(), 50);
    }

    // Opening and a new plan keep the plan first; a restore keeps the plan
    // it replaces, then gives back every text of the snapshot exactly.
    void aRestoreGivesBackEveryTextExactly()
    {
        SettingsStore store(mFolder->filePath("store.json"));
        PlanDocument document(store, mFolder->filePath("snapshots"), QString());
        QStringList written;
        for (const QString& key : PlanFile::keys()) {
            written << key + " \"quoted\" \\ é 漢字\r\nsecond\nthird\r\t\u00A0 end  ";
            document.setText(key, written.last());
        }
        document.startNew();
        QVERIFY(store.getSetting(PlanKeys::companyName).isEmpty());
        const PlanSnapshots::Snapshot beforeNew = document.snapshots().list().first();
        QCOMPARE(beforeNew.label(), QString("Before a new plan"));
        document.setText(PlanKeys::companyName, "Typed after");
        document.restore(beforeNew);
        for (int i = 0; i < written.size(); ++i)
            QCOMPARE(store.getSetting(PlanFile::keys().at(i)), written.at(i));
        QCOMPARE(document.snapshots().list().first().label(), QString("Before restoring a snapshot"));
        QCOMPARE(document.snapshots().list().first().firstWords, QString("Typed after"));
    }
};

QTEST_GUILESS_MAIN(PlanSnapshotsTest)
#include "test_plan_snapshots.moc"
