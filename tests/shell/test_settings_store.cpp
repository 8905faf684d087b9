#include "failure.h"
#include "settings_store.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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
        };
        {
            SettingsStore store(storePath());
            for (const auto& [key, value] : entries)
                store.saveSetting(key, value);
        }
        SettingsStore reopened(storePath());
        for (const auto& [key, value] : entries)
            QCOMPARE(reopened.getSetting(key), value);
        QCOMPARE(reopened.getSetting("SecondStatement_4"), QString());
    }

    void eachWriteIsOnDiskBeforeItReturns()
    {
        SettingsStore writer(storePath());
        writer.saveSetting("Company Name", "first");
        SettingsStore reader(storePath());
        QCOMPARE(reader.getSetting("Company Name"), QString("first"));
    }

    void unreadableStoreIsKeptAsideAndNotOverwritten()
    {
        const QByteArray broken = "{\"Orvendale\": {\"Company Name\": \"old\",";
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(broken);
        file.close();

        SettingsStore store(storePath());
        QCOMPARE(store.getSetting("Company Name"), QString());
        store.saveSetting("Company Name", "new");

        const QStringList aside = QDir(mFolder.path()).entryList({"Kervanel.json.unreadable-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(mFolder.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), broken);
        QCOMPARE(SettingsStore(storePath()).getSetting("Company Name"), QString("new"));
        kept.remove();
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

            SettingsStore store(storePath());
            const QString value = store.getSetting("FirstStatement_0");
            const int stored = value.section("\r\n", 0, 0).toInt();
            QVERIFY2(stored >= lastReported, qPrintable(QString("stored %1, reported %2").arg(stored).arg(lastReported)));
            QCOMPARE(value.section("\r\n", 1), QString(2000, QChar(0x00e9)));
            QVERIFY(QDir(mFolder.path()).entryList({"*.unreadable-*"}).isEmpty());
            // A lock file the killed writer may have left must not hold up
            // the next writer once it is clearly abandoned.
            QTest::qWait(1100);
        }
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "test_settings_store.moc"
