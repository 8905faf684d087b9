// The plan as a document: the plan of one window, held in memory and stored
// at every change; a plan file once saved as one, kept current within a
// second, locked against other windows and never written over another
// program's change; the files used last remembered.
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "shell/settings_store.h"
#include "tests/support/file_bytes.h"

#include <QImage>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class PlanDocumentTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<SettingsStore> mStore;
    std::unique_ptr<PlanDocument> mDocument;

    QString path(const QString& name) const { return mFolder->filePath(name); }

    // A second window of another running copy: the same store, a document
    // of its own.
    std::unique_ptr<PlanDocument> otherWindow()
    {
        auto document = std::make_unique<PlanDocument>(*mStore, mFolder->path(), path("recently-used.xbel"));
        document->readStore();
        return document;
    }

    // A plan file of the company's name, written as another window would.
    QString planFileOf(const QString& company)
    {
        const QString file = path(company.toLower() + ".orvendale");
        PlanFile::Texts texts;
        texts.insert(PlanKeys::companyName, company);
        PlanFile::write(file, texts);
        return file;
    }

    int snapshotCount() const { return int(mDocument->snapshots().list().size()); }

private slots:
    void init()
    {
        mFolder = std::make_unique<QTemporaryDir>();
        mStore = std::make_unique<SettingsStore>(path("store.json"));
        mStore->saveSetting(PlanKeys::companyName, "Fjordlight AS");
        mDocument = otherWindow();
    }

    // The document lets go of its lock before its folder goes.
    void cleanup()
    {
        mDocument.reset();
        mStore.reset();
        mFolder.reset();
    }

    // A change the plan file does not hold yet is written at once at the
    // end (the window's tests follow the file as it is typed and opened).
    void theEndWritesAPendingChangeAtOnce()
    {
        QCOMPARE(mDocument->text(PlanKeys::companyName), QString("Fjordlight AS"));
        mDocument->saveAs(path("plan.orvendale"));
        mDocument->setText(PlanKeys::planTitle, "Changed at the end");
        QCOMPARE(mStore->getSetting(PlanKeys::planTitle), QString("Changed at the end"));
        mDocument->writeNow();
        QCOMPARE(PlanFile::read(path("plan.orvendale")).value(PlanKeys::planTitle), QString("Changed at the end"));
    }

    // Two copies of the program share the store, never each other's plan:
    // each writes its own texts into its own file, whatever the other typed.
    void twoWindowsWriteOnlyTheirOwnPlan()
    {
        mDocument->open(planFileOf("Alpha"));
        auto other = otherWindow();
        other->open(planFileOf("Beta"));
        other->setText(PlanKeys::planTitle, "Beta's title");
        mDocument->setText(PlanKeys::planTitle, "Alpha's title");
        mDocument->writeNow();
        other->writeNow();
        QCOMPARE(mDocument->text(PlanKeys::companyName), QString("Alpha"));
        const PlanFile::Texts alpha = PlanFile::read(path("alpha.orvendale"));
        QCOMPARE(alpha.value(PlanKeys::companyName), QString("Alpha"));
        QCOMPARE(alpha.value(PlanKeys::planTitle), QString("Alpha's title"));
        QCOMPARE(PlanFile::read(path("beta.orvendale")).value(PlanKeys::planTitle), QString("Beta's title"));
    }

    // The same file in a second window is refused, naming the process that
    // holds it, and can be opened as a copy in the store alone; once the
    // first window lets go of it, it opens. This window opening its own
    // file again keeps its lock.
    void aPlanFileOpenInAnotherWindowIsOpenedAsACopy()
    {
        const QString alpha = planFileOf("Alpha");
        mDocument->open(alpha);
        mDocument->open(alpha);
        auto other = otherWindow();
        try {
            other->open(alpha);
            QFAIL("a plan open in another window was opened again");
        } catch (const PlanDocument::FileInUse& inUse) {
            QVERIFY2(inUse.description().contains(QString("process %1").arg(QCoreApplication::applicationPid())),
                     qPrintable(inUse.description()));
        }
        QCOMPARE(other->file(), QString());
        try {
            other->saveAs(alpha);
            QFAIL("a plan open in another window was written over");
        } catch (const PlanDocument::FileInUse&) {
        }
        other->openCopy(alpha);
        QCOMPARE(other->file(), QString());
        QCOMPARE(other->text(PlanKeys::companyName), QString("Alpha"));

        mDocument->startNew();
        other->open(alpha);
        QCOMPARE(other->file(), alpha);
        QVERIFY(other->notLockedBecause().isEmpty());
    }

    // A lock left by a program that ended without letting go is taken over;
    // where no lock can be made (here a folder stands in its place), the
    // plan opens all the same, and says it is not locked.
    void aLockWhoseProcessEndedIsTakenOver()
    {
        QVERIFY(QDir().mkpath(path(".beta.orvendale.lock")));
        mDocument->open(planFileOf("Beta"));
        QCOMPARE(mDocument->file(), path("beta.orvendale"));
        QCOMPARE(mDocument->notLockedBecause(), QString(".beta.orvendale.lock beside it is no lock file"));

        const QString alpha = planFileOf("Alpha");
        QProcess holder;
        holder.start("sleep", {"60"});
        QVERIFY(holder.waitForStarted());
        writeFile(path(".alpha.orvendale.lock"), QByteArray::number(holder.processId()) + "\n"
                                                     + QCoreApplication::applicationName().toUtf8() + "\n"
                                                     + QSysInfo::machineHostName().toUtf8() + "\n");
        holder.kill();
        holder.waitForFinished();
        mDocument->open(alpha);
        QCOMPARE(mDocument->file(), alpha);
    }

    // A file another program changed (a sync client, an editor) is never
    // written over: the write stops, and the user either reloads it, this
    // window's plan kept as a snapshot, or keeps theirs as a new file.
    void aFileChangedElsewhereIsNeverWrittenOver()
    {
        mDocument->saveAs(path("plan.orvendale"));
        PlanFile::Texts theirs;
        theirs.insert(PlanKeys::companyName, "Changed by a sync client");
        const QByteArray written = PlanFile::toBytes(theirs);
        writeFile(path("plan.orvendale"), written);
        QSignalSpy told(mDocument.get(), &PlanDocument::fileChangedElsewhere);
        mDocument->setText(PlanKeys::planTitle, "Typed here");
        QVERIFY(told.wait(5000));
        QCOMPARE(readFile(path("plan.orvendale")), written);
        QVERIFY_THROWS_EXCEPTION(PlanDocument::FileChangedElsewhere, mDocument->writeNow());

        const int before = snapshotCount();
        mDocument->reload();
        QCOMPARE(mDocument->text(PlanKeys::companyName), QString("Changed by a sync client"));
        QCOMPARE(snapshotCount(), before + 1);
        QCOMPARE(mDocument->snapshots().texts(mDocument->snapshots().list().first()).value(PlanKeys::planTitle),
                 QString("Typed here"));
        // From the reloaded file on, writes go on as before.
        mDocument->setText(PlanKeys::planTitle, "After the reload");
        mDocument->writeNow();
        QCOMPARE(PlanFile::read(path("plan.orvendale")).value(PlanKeys::planTitle), QString("After the reload"));
    }

    // A plan file that can no longer be written (its folder gone) is told
    // once, says the plan is in the store, and holds New and Open back no
    // more; each takes the one snapshot it takes anyway.
    void aFileThatCannotBeWrittenIsToldOnce()
    {
        QVERIFY(QDir().mkpath(path("stick")));
        mDocument->saveAs(path("stick/plan.orvendale"));
        QVERIFY(QDir(path("stick")).removeRecursively());
        QSignalSpy told(mDocument.get(), &PlanDocument::fileWriteFailed);
        for (const char* title : {"First try", "Second try"}) {
            mDocument->setText(PlanKeys::planTitle, title);
            QTest::qWait(PlanDocument::kFileDelayMs + 300);
        }
        QCOMPARE(told.size(), 1);
        QVERIFY(mDocument->fileWriteFailing());
        QCOMPARE(mStore->getSetting(PlanKeys::planTitle), QString("Second try"));

        const int before = snapshotCount();
        mDocument->open(planFileOf("Alpha"));
        QCOMPARE(mDocument->text(PlanKeys::companyName), QString("Alpha"));
        QCOMPARE(snapshotCount(), before + 1);
        QVERIFY(!mDocument->fileWriteFailing());
    }

    // Snapshots that cannot be taken are told once and hold no command
    // back, unless the plan would then be kept nowhere: its file cannot be
    // written either.
    void aSnapshotThatCannotBeTakenIsToldOnce()
    {
        writeFile(path("snapshots"), "a file where the folder should be");
        QSignalSpy told(mDocument.get(), &PlanDocument::snapshotFailed);
        mDocument->startNew();
        mDocument->setText(PlanKeys::companyName, "Second plan");
        mDocument->startNew();
        QCOMPARE(told.size(), 1);
        QVERIFY_THROWS_EXCEPTION(Failure, mDocument->takeSnapshot(PlanSnapshots::Kind::Named, "Mine"));

        QVERIFY(QDir().mkpath(path("stick")));
        mDocument->saveAs(path("stick/plan.orvendale"));
        QVERIFY(QDir(path("stick")).removeRecursively());
        mDocument->setText(PlanKeys::companyName, "Kept nowhere else");
        QVERIFY_THROWS_EXCEPTION(Failure, mDocument->startNew());
        QCOMPARE(mDocument->text(PlanKeys::companyName), QString("Kept nowhere else"));
        QCOMPARE(mStore->getSetting(PlanKeys::companyName), QString("Kept nowhere else"));
    }

    // An imported plan replaces the plan after its snapshot, named after
    // the document; the plan file open before is left with the plan it had
    // (a change not yet written goes there first), and the import is kept
    // in the store alone. The design stays; the logo goes.
    void anImportedPlanLeavesTheOpenPlanFileAsItWas()
    {
        mDocument->open(planFileOf("Alpha"));
        mDocument->setText(PlanKeys::design, "graphite");
        mDocument->setText(PlanKeys::logo, "logo-1.png");
        mDocument->setText(PlanKeys::planTitle, "Typed just now");
        PlanFile::Texts imported;
        imported.insert(PlanKeys::companyName, "Imported AS");
        imported.insert(PlanKeys::design, "daylight");
        imported.insert(PlanKeys::logo, "theirs.png");
        mDocument->importPlan(imported, "business-plan.docx");

        QCOMPARE(mDocument->file(), QString());
        QCOMPARE(mStore->getSetting(PlanKeys::companyName), QString("Imported AS"));
        QCOMPARE(mDocument->text(PlanKeys::planTitle), QString());
        QCOMPARE(mDocument->text(PlanKeys::design), QString("graphite"));
        QCOMPARE(mDocument->text(PlanKeys::logo), QString());
        const PlanFile::Texts alpha = PlanFile::read(path("alpha.orvendale"));
        QCOMPARE(alpha.value(PlanKeys::companyName), QString("Alpha"));
        QCOMPARE(alpha.value(PlanKeys::planTitle), QString("Typed just now"));
        const PlanSnapshots::Snapshot before = mDocument->snapshots().list().first();
        QCOMPARE(before.label(), QString("Before importing business-plan.docx"));
        QCOMPARE(mDocument->snapshots().texts(before).value(PlanKeys::planTitle), QString("Typed just now"));
        // The snapshot is the program's: the newest 50 of those are kept.
        for (int i = 0; i < PlanSnapshots::kAutomaticKept; ++i)
            mDocument->takeSnapshot(PlanSnapshots::Kind::Deck);
        QCOMPARE(snapshotCount(), PlanSnapshots::kAutomaticKept);
    }

    // A plan file opened through a link stays a link: the file it leads
    // to gets the plan.
    void aLinkedPlanFileStaysALink()
    {
        const QString alpha = planFileOf("Alpha");
        QVERIFY(QFile::link(alpha, path("linked.orvendale")));
        mDocument->open(path("linked.orvendale"));
        mDocument->setText(PlanKeys::planTitle, "Through the link");
        mDocument->writeNow();
        QVERIFY(QFileInfo(path("linked.orvendale")).isSymLink());
        QCOMPARE(PlanFile::read(alpha).value(PlanKeys::planTitle), QString("Through the link"));
    }

    // A plan file carries its logo: opened under another account (another
    // data folder, no copy of the logo there), the plan has it. A large one
    // travels drawn smaller, within its cap; one that fails a logo's checks
    // stays out, and is told.
    void aPlanFileCarriesItsLogo_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("noise");
        QTest::newRow("a small logo, as it is") << 120 << false;
        QTest::newRow("a large one, drawn smaller") << 1200 << true;
    }

    void aPlanFileCarriesItsLogo()
    {
        QFETCH(int, side);
        QFETCH(bool, noise);
        QImage picture(side, side, QImage::Format_ARGB32);
        picture.fill(QColor("#124E66"));
        for (int y = 0; noise && y < side; ++y)
            for (int x = 0; x < side; ++x)
                picture.setPixel(x, y, QRandomGenerator::global()->generate());
        QVERIFY(picture.save(path("chosen.png")));
        mDocument->setText(PlanKeys::logo, PlanLogo::adopt(path("chosen.png"), PlanLogo::folder(mFolder->path())));
        mDocument->saveAs(path("plan.orvendale"));
        const QByteArray carried = PlanFile::logoPicture(readFile(path("plan.orvendale")));
        QVERIFY(!carried.isEmpty() && carried.size() <= PlanLogo::kMostEmbeddedBytes);
        QCOMPARE(carried == readFile(path("chosen.png")), !noise);
        mDocument.reset();

        QTemporaryDir elsewhere;
        SettingsStore store(elsewhere.filePath("store.json"));
        PlanDocument opened(store, elsewhere.path(), QString());
        opened.open(path("plan.orvendale"));
        const QString copy = PlanLogo::copyOf(opened.text(PlanKeys::logo), PlanLogo::folder(elsewhere.path()));
        QCOMPARE(QFileInfo(copy).dir().path(), PlanLogo::folder(elsewhere.path()));
        QCOMPARE(readFile(copy), carried);
    }

    void aCarriedLogoThatIsNoLogoStaysOut()
    {
        PlanFile::Texts texts;
        texts.insert(PlanKeys::companyName, "Alpha");
        texts.insert(PlanKeys::logo, "0123456789abcdef01234567.svg");
        PlanFile::write(path("plan.orvendale"), texts, {},
                        "<svg xmlns=\"http://www.w3.org/2000/svg\"><image href=\"file:///home/me/secret.png\"/></svg>");
        QSignalSpy told(mDocument.get(), &PlanDocument::logoRefused);
        mDocument->open(path("plan.orvendale"));
        QCOMPARE(told.size(), 1);
        QVERIFY(told.first().first().toString().contains("it refers to file:///home/me/secret.png"));
        QCOMPARE(mDocument->text(PlanKeys::logo), QString());
        QCOMPARE(mDocument->text(PlanKeys::companyName), QString("Alpha"));
    }

    // The last eight files, the newest first, each once; kept in the store.
    // Each also joins the desktop's list, once.
    void theRecentFilesAreTheLastEight()
    {
        for (int i = 1; i <= 10; ++i)
            mDocument->saveAs(path(QString("plan%1.orvendale").arg(i)));
        mDocument->saveAs(path("plan5.orvendale"));
        const QStringList recent = PlanDocument(*mStore, mFolder->path(), QString()).recentFiles();
        QCOMPARE(recent.size(), 8);
        QCOMPARE(recent.mid(0, 3),
                 QStringList({path("plan5.orvendale"), path("plan10.orvendale"), path("plan9.orvendale")}));
        QCOMPARE(recent.count(path("plan5.orvendale")), 1);
        QVERIFY(!recent.contains(path("plan2.orvendale")));
        const QByteArray desktopList = readFile(path("recently-used.xbel"));
        QCOMPARE(desktopList.count("<bookmark "), 10);
        QCOMPARE(desktopList.count(QUrl::fromLocalFile(path("plan5.orvendale")).toEncoded() + '"'), 1);
    }
};

QTEST_GUILESS_MAIN(PlanDocumentTest)
#include "test_plan_document.moc"
