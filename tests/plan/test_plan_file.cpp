// Plans kept as files: written whole, read back exactly, and a file that is
// no plan refused with a message that names it and says why.
#include "plan/plan_file.h"
#include "plan/plan_keys.h"
#include "shell/failure.h"
#include "tests/support/file_bytes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class PlanFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mFolder;

private slots:
    void everyTextComesBackExactly()
    {
        PlanFile::Texts texts;
        for (const QString& key : PlanFile::keys())
            texts.insert(key, key + QStringLiteral(" text"));
        texts[PlanKeys::companyName] = QStringLiteral("Fjordlight AS \"Nord\" \\ é 漢字 😀");
        texts[PlanKeys::planTitle] = QString();
        texts[PlanKeys::sectionKey(PlanKeys::secondSectionPrefix, 4)] =
            QStringLiteral("Line 1\r\nLine 2\nLine 3\r\tTabbed\r\n\r\n");
        const QString path = mFolder.filePath("plan.orvendale");
        PlanFile::write(path, texts);
        QCOMPARE(PlanFile::read(path), texts);
        QCOMPARE(PlanFile::keys().size(), 15);  // 13 texts, the logo and the design
        // Written again over itself, with nothing left beside it.
        PlanFile::write(path, texts);
        QCOMPARE(QDir(mFolder.path()).entryList(QDir::Files), QStringList({"plan.orvendale"}));
    }

    void aFileThatIsNoPlanIsRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("why");
        // clang-format off
        QTest::newRow("not JSON") << QByteArray("Company: Fjordlight") << "not an Orvendale plan file";
        QTest::newRow("other JSON") << QByteArray(R"({"Company Name": "x"})") << "not an Orvendale plan file";
        QTest::newRow("a JSON list") << QByteArray("[1, 2]") << "not an Orvendale plan file";
        QTest::newRow("another version") << QByteArray(R"({"format": "Orvendale plan", "version": 7, "plan": {}})") << "another version of the plan format (7)";
        QTest::newRow("a number for a text") << QByteArray(R"({"format": "Orvendale plan", "version": 1, "plan": {"Company Name": 12}})") << "its \"Company Name\" is not text";
        QTest::newRow("empty") << QByteArray() << "not an Orvendale plan file";
        // clang-format on
    }

    void aFileThatIsNoPlanIsRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, why);
        const QString path = mFolder.filePath("sent.orvendale");
        writeFile(path, content);
        try {
            PlanFile::read(path);
            QFAIL("the file was read as a plan");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().contains(why) && failure.description().contains(path),
                     qPrintable(failure.description()));
        }
    }

    // A folder, a file far too large, one that cannot be read and files
    // that are no files (a device that never ends, a pipe no one writes to,
    // a link to either) are refused without reading them; a file at the
    // cap is read.
    void whatIsNoPlanFileIsRefusedUnread()
    {
        const auto sized = [&](const QString& name, qint64 size) {
            QFile file(mFolder.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.resize(size);
            return file.fileName();
        };
        QVERIFY(QFile::link("/dev/zero", mFolder.filePath("zero.orvendale")));
        QVERIFY(QProcess::execute("mkfifo", {mFolder.filePath("pipe.orvendale")}) == 0);
        const QList<std::pair<QString, QString>> cases = {
            {mFolder.path(), "it is a folder"},
            {sized("huge.orvendale", 100LL * 1024 * 1024), "at 100 MB"},
            {sized("over.orvendale", PlanFile::kMostBytes + 1), "far larger than any plan"},
            {sized("at.orvendale", PlanFile::kMostBytes), "it is not an Orvendale plan file"},
            {mFolder.filePath("gone/plan.orvendale"), "cannot be read"},
            {"/dev/zero", "a device, a pipe or a socket"},
            {mFolder.filePath("zero.orvendale"), "a device, a pipe or a socket"},
            {mFolder.filePath("pipe.orvendale"), "a device, a pipe or a socket"}};
        for (const auto& [path, why] : cases) {
            try {
                PlanFile::read(path);
                QFAIL(qPrintable(path + " was read as a plan"));
            } catch (const Failure& failure) {
                QVERIFY2(failure.description().contains(why), qPrintable(failure.description()));
            }
        }
    }
};

QTEST_GUILESS_MAIN(PlanFileTest)
#include "test_plan_file.moc"
