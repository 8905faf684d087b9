#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/temporary_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_size_limit.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class FileUtilsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mData;  // the program's data folder, which holds its records

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", mData.path().toLocal8Bit()); }

    void fileExistsOnlyForSomethingThere()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("deck.ppt"), "x");
        QVERIFY(Files::exists(folder.filePath("deck.ppt")));
        QVERIFY(!Files::exists(folder.filePath("other.ppt")));
        QVERIFY(!Files::exists(folder.filePath("missing/deck.ppt")));
        QVERIFY(!Files::exists(""));
    }

    void deleteFileRemovesReadOnlyFilesAndIgnoresMissingOnes()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("locked.ppt");
        writeFile(path, "x");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        Files::remove(path);
        QVERIFY(!QFile::exists(path));

        Files::remove(folder.filePath("never-there.ppt"));
        QVERIFY_THROWS_EXCEPTION(Failure, Files::forceRemove(folder.filePath("never-there.ppt")));
    }

    void copyReplacesAPlantedLinkInsteadOfFollowingIt()
    {
        QTemporaryDir folder;
        const QString source = folder.filePath("deck.ppt");
        const QString victim = folder.filePath("victim.txt");
        const QString target = folder.filePath("ps12345678.ppt");
        writeFile(source, "new deck");
        writeFile(victim, "must stay");
        QVERIFY(QFile::link(victim, target));

        Files::copyReplacing(source, target);

        QVERIFY(!QFileInfo(target).isSymLink());
        QFile copy(target), untouched(victim);
        QVERIFY(copy.open(QIODevice::ReadOnly) && untouched.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("new deck"));
        QCOMPARE(untouched.readAll(), QByteArray("must stay"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void failedCopyLeavesTheOldFileAndNoPartialFile()
    {
        QTemporaryDir folder;
        const QString target = folder.filePath("old.ppt");
        const QString large = folder.filePath("large.ppt");
        writeFile(target, "old deck");
        writeFile(large, QByteArray(3 << 20, 'd'));
        QVERIFY_THROWS_EXCEPTION(Failure, Files::copyReplacing(folder.filePath("gone.ppt"), target));
        try {
            // The copy fails partway, after a megabyte has been written.
            const FileSizeLimit full(1 << 20);
            Files::copyReplacing(large, target);
            QFAIL("the copy should have failed");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().startsWith(target + " could not be written: "),
                     qPrintable(failure.description()));
        }
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old deck"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

        // A copy that a program which died while saving left behind goes
        // with the next copy into the folder; one being written now stays.
        const QString dead = folder.filePath(".orvendale-copy-0000dead");
        const QString writing = folder.filePath(".orvendale-copy-00000new");
        writeFile(dead, "half");
        writeFile(writing, "half");
        QFile deadFile(dead);
        QVERIFY(deadFile.open(QIODevice::ReadWrite));
        QVERIFY(deadFile.setFileTime(QDateTime::currentDateTime().addSecs(-7200), QFileDevice::FileModificationTime));
        deadFile.close();
        Files::copyReplacing(large, folder.filePath("new.ppt"));
        QVERIFY(!QFile::exists(dead));
        QVERIFY(QFile::exists(writing));
    }

    void copyGetsTheUsersModeForNewFilesKeepsAReplacedFilesAndLeavesTheUmask()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("deck.ppt"), "deck");
        const mode_t saved = ::umask(027);
        Files::copyReplacing(folder.filePath("deck.ppt"), folder.filePath("copy.ppt"));
        const mode_t during = ::umask(saved);
        QCOMPARE(during, mode_t(027));
        struct stat copy {};
        QCOMPARE(::stat(QFile::encodeName(folder.filePath("copy.ppt")).constData(), &copy), 0);
        QCOMPARE(copy.st_mode & 0777, mode_t(0640));

        QFile::setPermissions(folder.filePath("copy.ppt"), QFile::ReadOwner | QFile::WriteOwner);
        Files::copyReplacing(folder.filePath("deck.ppt"), folder.filePath("copy.ppt"));
        QCOMPARE(::stat(QFile::encodeName(folder.filePath("copy.ppt")).constData(), &copy), 0);
        QCOMPARE(copy.st_mode & 0777, mode_t(0600));
    }

    // The copy is durable before it takes the old file's place, and its new
    // name is durable after: a power cut never leaves an empty file behind.
    void aReplacementIsFlushedThenRenamedThenItsFolderFlushed()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("from.ppt"), "deck");
        QProcess traced;
        traced.start("strace", {"-e", "trace=fdatasync,fsync,rename,renameat,renameat2",
                                QCoreApplication::applicationDirPath() + "/file_copier", folder.filePath("from.ppt"),
                                folder.filePath("to.ppt")});
        QVERIFY(traced.waitForFinished(20000));
        QCOMPARE(QString::fromLocal8Bit(traced.readAllStandardOutput()).trimmed(), QString("copied"));
        QStringList calls;
        for (const QString& line : QString::fromLocal8Bit(traced.readAllStandardError()).split('\n'))
            if (const qsizetype open = line.indexOf('(');
                open > 0 && !line.startsWith("+++") && !line.contains(mData.path()))
                calls << line.left(open);
        QCOMPARE(calls, QStringList({"fdatasync", "rename", "fsync"}));

        // A file system that cannot flush a folder still has the new file:
        // the copy is made, not reported as failed.
        writeFile(folder.filePath("from.ppt"), "new deck");
        traced.start("strace", {"-e", "trace=fsync", "-e", "inject=fsync:error=EINVAL",
                                QCoreApplication::applicationDirPath() + "/file_copier", folder.filePath("from.ppt"),
                                folder.filePath("to.ppt")});
        QVERIFY(traced.waitForFinished(20000));
        QVERIFY(traced.readAllStandardError().contains("EINVAL (Invalid argument) (INJECTED)"));
        QCOMPARE(QString::fromLocal8Bit(traced.readAllStandardOutput()).trimmed(), QString("copied"));
        QCOMPARE(readFile(folder.filePath("to.ppt")), QByteArray("new deck"));
    }

    void aFullDiskIsNamedAsSuch()
    {
        // A small disk of its own: a tmpfs in a private mount namespace.
        QTemporaryDir folder;
        writeFile(folder.filePath("deck.ppt"), QByteArray(1 << 20, 'd'));
        const QString disk = folder.filePath("disk");
        QDir().mkpath(disk);
        // A copy of our own, and one by a writer that only says its own words
        // (as the engine does for its exports).
        for (const QString& mode : {QString("--by-copy"), QString("--by-writer")}) {
            QProcess copier;
            copier.start("unshare", {"-rm", "sh", "-c",
                                     "mount -t tmpfs -o size=256k tmpfs \"$1\" || exit 3; "
                                     "if [ \"$4\" = --by-copy ]; then exec \"$2\" \"$3\" \"$1/copy.ppt\"; fi; "
                                     "exec \"$2\" \"$4\" \"$3\" \"$1/copy.ppt\"",
                                     "sh", disk, QCoreApplication::applicationDirPath() + "/file_copier",
                                     folder.filePath("deck.ppt"), mode});
            QVERIFY(copier.waitForFinished(20000));
            if (copier.exitCode() != 0)
                QSKIP("this machine does not let a test mount a disk of its own");
            QCOMPARE(QString::fromLocal8Bit(copier.readAllStandardOutput()).trimmed(),
                     QDir(disk).filePath("copy.ppt") + " could not be written: the disk is full.");
        }
    }

    // What a killed copy of the program recorded is removed by the next
    // start, as far as it is a file the program makes; a running copy's
    // records stay. This copy's own files go at its end, unless forgotten.
    void temporaryFilesOfAnEndedCopyAreRemovedAtTheNextStart()
    {
        QTemporaryDir folder;
        // A deck, a copy being saved, the engine's lock files beside both,
        // and an export's working folder.
        const QStringList ours = {folder.filePath("ps12345678.ppt"), folder.filePath(".~lock.ps12345678.ppt#"),
                                  folder.filePath(".orvendale-copy-0123abcd"),
                                  folder.filePath(".~lock..orvendale-copy-0123abcd#"),
                                  folder.filePath("orvendale-export-Ab12Cd")};
        const QString usersOwn = folder.filePath("plan.ppt");
        for (const QString& file : ours.first(4) + QStringList{usersOwn})
            writeFile(file, "x");
        QVERIFY(QDir().mkpath(ours[4]));
        writeFile(ours[4] + "/ps00000000.ppt", "x");
        QProcess killed;
        killed.start(QCoreApplication::applicationDirPath() + "/file_copier",
                     {"--record-and-wait", ours[0], ours[2], ours[4], usersOwn});
        QVERIFY(killed.waitForReadyRead(10000));
        TemporaryFiles::removeLeftBehind();
        for (const QString& file : ours + QStringList{usersOwn})
            QVERIFY(QFile::exists(file));
        const QString killedRecord = QString::number(killed.processId()) + "-*.list";
        killed.kill();
        killed.waitForFinished();
        TemporaryFiles::removeLeftBehind();
        for (const QString& file : ours)
            QVERIFY2(!QFile::exists(file), qPrintable(file));
        QVERIFY(QFile::exists(usersOwn));
        QVERIFY(QDir(mData.filePath("Kervanel/Orvendale/temporary-files")).entryList({killedRecord}).isEmpty());

        const QString kept = folder.filePath("ps11111111.ppt"), left = folder.filePath("ps22222222.ppt");
        for (const QString& deck : {kept, left}) {
            TemporaryFiles::record(deck);
            writeFile(deck, "deck");
        }
        TemporaryFiles::forget(kept);
        TemporaryFiles::removeAll();
        QVERIFY(QFile::exists(kept) && !QFile::exists(left));
    }

    void tempFolderFallsBackWhenTempIsUnsetOrEmpty()
    {
        const QByteArray saved = qgetenv("TEMP");
        qputenv("TEMP", "/some/temp/");
        QCOMPARE(Files::tempFolder(), QString("/some/temp"));
        qputenv("TEMP", "");
        qputenv("XDG_RUNTIME_DIR", "/run/user/1234");
        QCOMPARE(Files::tempFolder(), QString("/run/user/1234"));
        qunsetenv("TEMP");
        qunsetenv("XDG_RUNTIME_DIR");
        // The shared folder holds one of the user's own, the same each time.
        const QFileInfo own(Files::tempFolder());
        QCOMPARE(own.absolutePath(), QDir::tempPath());
        QVERIFY(own.isDir() && own.ownerId() == ::getuid());
        QCOMPARE(own.permissions() & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());
        QCOMPARE(Files::tempFolder(), own.absoluteFilePath());
        qputenv("TEMP", saved);
    }
};

QTEST_MAIN(FileUtilsTest)
#include "test_file_utils.moc"
