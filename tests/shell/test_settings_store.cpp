#include "shell/failure.h"
#include "shell/settings_store.h"
#include "shell/unsaved_changes.h"
#include "tests/support/fakes.h"
#include "tests/support/file_size_limit.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <future>

namespace {

// The store's group as the file on disk holds it, read afresh: the store's
// own reads may answer from what it keeps in memory.
QJsonObject onDisk(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject planOnDisk(const QString& path)
{
    return onDisk(path).value("Orvendale").toObject();
}

}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mFolder;
    QString storePath() const { return mFolder.filePath("Kervanel.json"); }

private slots:
    void init() { QFile::remove(storePath()); }

    void valuesReadBackExactlyAfterReopening()
    {
        const QList<std::pair<QString, QString>> entries = {
            {"Company Name", "Acme & Söhne GmbH"},
            {"Business Plan", ""},
            {"FirstStatement_0", "Heading:\r\n- hint\r\nmine\r\n"},
            {"FirstStatement_1", "   leading blanks and trailing   "},
            {"FirstStatement_2", "\r\n\r\n"},
            {"FirstStatement_3", " "},
            {"SecondStatement_0", QString::fromUtf8("中文 😀 \"quoted\" ; = [x] \\ back\tslash")},
            {"SecondStatement_1", "lone\rcarriage\nand feed"},
            {"SecondStatement_2", "escape \x1b, unit \x1f, start \x01"},
        };
        {
            SettingsStore store(storePath());
            for (const auto& [key, value] : entries)
                store.saveSetting(key, value);
        }
        const QJsonObject plan = planOnDisk(storePath());
        SettingsStore reopened(storePath());
        for (const auto& [key, value] : entries) {
            QCOMPARE(plan.value(key).toString(), value);
            QCOMPARE(reopened.getSetting(key), value);
        }
        QCOMPARE(reopened.getSetting("SecondStatement_4"), QString());
    }

    // Also when a value changes and changes back: the writer keeps each
    // value's encoded form between writes.
    void eachWriteIsOnDiskBeforeItReturns()
    {
        SettingsStore writer(storePath());
        for (const QString value : {"first", "first\r\nline", "", "first"}) {
            writer.saveSetting("Company Name", value);
            QCOMPARE(planOnDisk(storePath()).value("Company Name").toString(), value);
        }
    }

    // Two copies of the program typing into the same store keep each other's
    // entries, each reads what the other wrote, and a correction made in one
    // is not undone by the other's next keystroke.
    void twoWritersKeepEachOthersEntries()
    {
        SettingsStore first(storePath());
        SettingsStore second(storePath());
        first.saveSetting("Company Name", "Fjordlight A");
        second.saveSetting("Business Plan", "Indoor farms");
        second.saveSetting("Company Name", "Fjordlight AS");
        first.saveSetting("FirstStatement_0", "Fresh greens");
        const QJsonObject plan = planOnDisk(storePath());
        QCOMPARE(plan.value("Company Name").toString(), QString("Fjordlight AS"));
        QCOMPARE(plan.value("Business Plan").toString(), QString("Indoor farms"));
        QCOMPARE(plan.value("FirstStatement_0").toString(), QString("Fresh greens"));
        QCOMPARE(second.getSetting("FirstStatement_0"), QString("Fresh greens"));
    }

    // Copies typing at the same moment take turns: neither is ever told that
    // the plan could not be saved. Each types as a person does, with a
    // moment between keys.
    void writersTypingAtOnceTakeTurns()
    {
        const auto typeInto = [this](const QString& key) {
            SettingsStore store(storePath());
            for (int i = 0; i < 300; ++i) {
                store.saveSetting(key, QString::number(i));
                QThread::usleep(2000);
            }
        };
        auto first = std::async(std::launch::async, typeInto, QString("FirstStatement_0"));
        auto second = std::async(std::launch::async, typeInto, QString("FirstStatement_1"));
        first.get();  // rethrows what the writer threw
        second.get();
        const QJsonObject plan = planOnDisk(storePath());
        QCOMPARE(plan.value("FirstStatement_0").toString(), QString("299"));
        QCOMPARE(plan.value("FirstStatement_1").toString(), QString("299"));
    }

    // A store kept in another folder behind a link stays linked; the file
    // it links to is what changes.
    void aLinkedStoreStaysALink()
    {
        QTemporaryDir dotfiles;
        const QString target = dotfiles.filePath("Kervanel.json");
        QFile::remove(storePath());
        QVERIFY(QFile::link(target, storePath()));
        {
            SettingsStore store(storePath());
            store.saveSetting("Company Name", "Linked");
            store.saveSetting("Business Plan", "Twice");
        }
        QVERIFY(QFileInfo(storePath()).isSymLink());
        QCOMPARE(planOnDisk(target).value("Company Name").toString(), QString("Linked"));
        QCOMPARE(SettingsStore(storePath()).getSetting("Business Plan"), QString("Twice"));
        QFile::remove(storePath());
    }

    // A damaged store is set aside and its whole entries carried over; one
    // behind a link stays linked, the file it links to set aside.
    void aDamagedStoreIsKeptAsideAndItsWholeEntriesCarriedOver_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("a file") << false;
        QTest::newRow("behind a link") << true;
    }

    void aDamagedStoreIsKeptAsideAndItsWholeEntriesCarriedOver()
    {
        QFETCH(bool, linked);
        QTemporaryDir dotfiles;
        const QString damagedFile = linked ? dotfiles.filePath("Kervanel.json") : storePath();
        if (linked)
            QVERIFY(QFile::link(damagedFile, storePath()));
        const QByteArray cut =
            "{\n    \"Orvendale\": {\n        \"Business Plan\": \"Plan \\\"27\\\"\",\n"
            "        \"Company Name\": \"Acme\",\n        \"FirstStatement_0\": 12,\n"
            "        \"FirstStatement_1\": \"cut sh";
        QFile file(damagedFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(cut);
        file.close();

        SettingsStore store(storePath());
        const QJsonObject plan = planOnDisk(storePath());
        QCOMPARE(plan.value("Business Plan").toString(), QString("Plan \"27\""));
        QCOMPARE(plan.value("Company Name").toString(), QString("Acme"));
        QCOMPARE(plan.value("FirstStatement_0").toInt(), 12);
        QVERIFY(!plan.contains("FirstStatement_1"));

        QFile kept(store.damagedFileKeptAt());
        QVERIFY(kept.fileName().startsWith(damagedFile + ".unreadable-"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), cut);
        QCOMPARE(QFileInfo(storePath()).isSymLink(), linked);
        QVERIFY(SettingsStore(storePath()).damagedFileKeptAt().isEmpty());
        kept.remove();
        QFile::remove(storePath());
    }

    // Another program's empty object, and a key that sorts between it and
    // what this program writes under it: the object is written once.
    void anEmptyObjectWrittenUnderIsWrittenOnce()
    {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"Orvendale": {}, "Orvendale-Beta": 1})");
        file.close();
        SettingsStore(storePath()).saveSetting("Company Name", "Acme");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\"Orvendale\""), 1);
        QCOMPARE(onDisk(storePath()), QJsonDocument::fromJson(R"({"Orvendale": {"Company Name": "Acme"},
                                                                  "Orvendale-Beta": 1})")
                                          .object());
    }

    void valuesOfOtherTypesAndOtherKeysAreLeftAsTheyAre()
    {
        const QByteArray before = R"({"Orvendale": {"Company Name": 12345, "Business Plan": true,
            "FirstStatement_0": [1, "two"], "FirstStatement_1": null, "Window": {"x": 1.5}},
            "Elsewhere": {"k": [null], "a/b": "slash", "50%2F": "escaped", "none": {}, "in": {"deeper": {}}},
            "Empty": {}})";
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();

        SettingsStore store(storePath());
        QCOMPARE(store.getSetting("Company Name"), QString("12345"));
        QCOMPARE(store.getSetting("Business Plan"), QString("true"));
        QCOMPARE(store.getSetting("FirstStatement_1"), QString());
        store.saveSetting("SecondStatement_0", "mine");

        QJsonObject expected = QJsonDocument::fromJson(before).object();
        QJsonObject plan = expected.value("Orvendale").toObject();
        plan.insert("SecondStatement_0", "mine");
        expected.insert("Orvendale", plan);
        QCOMPARE(onDisk(storePath()), expected);
    }

    void aFailedWriteIsRetriedAndReportedOncePerRunOfFailures()
    {
        SettingsStore store(storePath());
        store.saveSetting("Company Name", "before");
        const QString large(4000, QLatin1Char('x'));
        {
            const FileSizeLimit full(1000);
            QVERIFY_THROWS_EXCEPTION(Failure, store.saveSetting("FirstStatement_0", large));
            // Later failures of the same run are not reported again.
            store.saveSetting("Company Name", "typed while failing");
            store.saveSetting("FirstStatement_0", large + "y");
            QCOMPARE(planOnDisk(storePath()).value("Company Name").toString(), QString("before"));
        }
        store.saveSetting("Business Plan", "once it works again");
        QJsonObject plan = planOnDisk(storePath());
        QCOMPARE(plan.value("Company Name").toString(), QString("typed while failing"));
        QCOMPARE(plan.value("FirstStatement_0").toString(), large + "y");
        QCOMPARE(plan.value("Business Plan").toString(), QString("once it works again"));

        // A failure after a success starts a new run, reported again.
        FakeDialogs dialogs;
        {
            const FileSizeLimit full(1000);
            QVERIFY_THROWS_EXCEPTION(Failure, store.saveSetting("FirstStatement_1", large));
            // Still failing as the program ends: the user is told, and may
            // end without it.
            dialogs.answers = {false};
            UnsavedChanges::saveBeforeEnding(store, dialogs);
            QCOMPARE(dialogs.questions.size(), 1);
            QVERIFY(dialogs.questions.first().startsWith("Your latest changes could not be saved to " + storePath()));
        }
        // Once the store can be written again, what was typed last is
        // written by the try the program's end makes, without a word.
        UnsavedChanges::saveBeforeEnding(store, dialogs);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(planOnDisk(storePath()).value("FirstStatement_1").toString(), large);
    }

    void aFailingWriteSaysWhereTheStoreIs()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("sub/Kervanel.json");
        SettingsStore store(path);
        // A folder where the store file should be makes every write fail.
        QDir().mkpath(path);
        try {
            store.saveSetting("Company Name", "x");
            QFAIL("the write should have failed");
        } catch (const Failure& failure) {
            QVERIFY(failure.description().contains(path));
        }
    }

    void killedWriterLeavesTheLastReportedWriteAndAWholeFile()
    {
        for (int run = 0; run < 3; ++run) {
            QFile::remove(storePath());
            QProcess writer;
            writer.start(QCoreApplication::applicationDirPath() + "/store_writer", {storePath()});
            QVERIFY(writer.waitForStarted());
            int lastReported = -1;
            const int stopAfter = 20 + run * 37;
            while (lastReported < stopAfter && writer.waitForReadyRead(10000))
                while (writer.canReadLine())
                    lastReported = writer.readLine().trimmed().toInt();
            writer.kill();  // SIGKILL: no chance to flush anything
            writer.waitForFinished();
            QVERIFY(lastReported >= stopAfter);
            // A lock file the killed writer may have left half-written must
            // not hold up the next start once it is clearly abandoned (older
            // than a second), as it is by the time the program starts again.
            QTest::qWait(1100);

            SettingsStore store(storePath());
            const QString value = store.getSetting("FirstStatement_0");
            const int stored = value.section("\r\n", 0, 0).toInt();
            QVERIFY2(stored >= lastReported,
                     qPrintable(QString("stored %1, reported %2").arg(stored).arg(lastReported)));
            QCOMPARE(value.section("\r\n", 1), QString(2000, QChar(0x00e9)));
            QVERIFY(QDir(mFolder.path()).entryList({"*.unreadable-*"}).isEmpty());
        }
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "test_settings_store.moc"
