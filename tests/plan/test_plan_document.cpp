// The plan as a document: the store always, a plan file once saved as one,
// kept current within a second; the files used last remembered.
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "shell/failure.h"
#include "shell/settings_store.h"
#include "tests/support/file_bytes.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class PlanDocumentTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<SettingsStore> mStore;
    std::unique_ptr<PlanDocument> mDocument;

    QString path(const QString& name) const { return mFolder->filePath(name); }

private slots:
    void init()
    {
        mFolder = std::make_unique<QTemporaryDir>();
        mStore = std::make_unique<SettingsStore>(path("store.json"));
        mDocument = std::make_unique<PlanDocument>(*mStore, path("snapshots"));
        mStore->saveSetting(PlanKeys::companyName, "Fjordlight AS");
    }

    // Saved as a file, the plan's later changes reach the file within a
    // second; at the end at once.
    void theSavedFileFollowsTheStore()
    {
        mDocument->saveAs(path("plan.orvendale"));
        QCOMPARE(mDocument->file(), path("plan.orvendale"));
        QCOMPARE(PlanFile::read(path("plan.orvendale")).value(PlanKeys::companyName), QString("Fjordlight AS"));
        mStore->saveSetting(PlanKeys::planTitle, "Light for the fjords");
        mDocument->changed();
        QTRY_COMPARE_WITH_TIMEOUT(PlanFile::read(path("plan.orvendale")).value(PlanKeys::planTitle),
                                  QString("Light for the fjords"), 1000);
        mStore->saveSetting(PlanKeys::planTitle, "Changed at the end");
        mDocument->changed();
        mDocument->writeNow();
        QCOMPARE(PlanFile::read(path("plan.orvendale")).value(PlanKeys::planTitle), QString("Changed at the end"));
    }

    // Opening replaces every text in the store; a file that is no plan
    // leaves the plan and the kept file as they were.
    void openingReplacesThePlanOrLeavesItWhole()
    {
        PlanFile::Texts sent;
        for (const QString& key : PlanFile::keys())
            sent.insert(key, "sent " + key);
        PlanFile::write(path("sent.orvendale"), sent);
        writeFile(path("broken.orvendale"), "{");
        QSignalSpy replaced(mDocument.get(), &PlanDocument::replaced);
        QVERIFY_THROWS_EXCEPTION(Failure, mDocument->open(path("broken.orvendale")));
        QCOMPARE(mStore->getSetting(PlanKeys::companyName), QString("Fjordlight AS"));
        QVERIFY(mDocument->file().isEmpty() && replaced.isEmpty());

        mDocument->open(path("sent.orvendale"));
        for (const QString& key : PlanFile::keys())
            QCOMPARE(mStore->getSetting(key), sent.value(key));
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(mDocument->file(), path("sent.orvendale"));

        mDocument->startNew();
        for (const QString& key : PlanFile::keys())
            QVERIFY(mStore->getSetting(key).isEmpty());
        QVERIFY(mDocument->file().isEmpty());
        QCOMPARE(PlanFile::read(path("sent.orvendale")), sent);
    }

    // The last eight files, the newest first, each once; kept in the store.
    void theRecentFilesAreTheLastEight()
    {
        for (int i = 1; i <= 10; ++i)
            mDocument->saveAs(path(QString("plan%1.orvendale").arg(i)));
        mDocument->saveAs(path("plan5.orvendale"));
        const QStringList recent = PlanDocument(*mStore, path("snapshots")).recentFiles();
        QCOMPARE(recent.size(), 8);
        QCOMPARE(recent.mid(0, 3),
                 QStringList({path("plan5.orvendale"), path("plan10.orvendale"), path("plan9.orvendale")}));
        QVERIFY(!recent.contains(path("plan2.orvendale")));
    }
};

QTEST_GUILESS_MAIN(PlanDocumentTest)
#include "test_plan_document.moc"
