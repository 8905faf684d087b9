// The plan as a document: the store always, a plan file once saved as one,
// kept current within a second; the files used last remembered.
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "shell/settings_store.h"
#include "tests/support/file_bytes.h"

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
        mDocument = std::make_unique<PlanDocument>(*mStore, path("snapshots"), path("recently-used.xbel"));
        mStore->saveSetting(PlanKeys::companyName, "Fjordlight AS");
    }

    // A change the plan file does not hold yet is written at once at the
    // end (the window's tests follow the file as it is typed and opened).
    void theEndWritesAPendingChangeAtOnce()
    {
        mDocument->saveAs(path("plan.orvendale"));
        mStore->saveSetting(PlanKeys::planTitle, "Changed at the end");
        mDocument->changed();
        mDocument->writeNow();
        QCOMPARE(PlanFile::read(path("plan.orvendale")).value(PlanKeys::planTitle), QString("Changed at the end"));
    }

    // The last eight files, the newest first, each once; kept in the store.
    // Each also joins the desktop's list, once.
    void theRecentFilesAreTheLastEight()
    {
        for (int i = 1; i <= 10; ++i)
            mDocument->saveAs(path(QString("plan%1.orvendale").arg(i)));
        mDocument->saveAs(path("plan5.orvendale"));
        const QStringList recent = PlanDocument(*mStore, path("snapshots"), QString()).recentFiles();
        QCOMPARE(recent.size(), 8);
        QCOMPARE(recent.mid(0, 3),
                 QStringList({path("plan5.orvendale"), path("plan10.orvendale"), path("plan9.orvendale")}));
        QVERIFY(!recent.contains(path("plan2.orvendale")));
        const QByteArray desktopList = readFile(path("recently-used.xbel"));
        QCOMPARE(desktopList.count("<bookmark "), 10);
        QCOMPARE(desktopList.count(QUrl::fromLocalFile(path("plan5.orvendale")).toEncoded() + '"'), 1);
    }
};

QTEST_GUILESS_MAIN(PlanDocumentTest)
#include "test_plan_document.moc"
