// "orvendale --export": the deck made from a plan file with no display, in
// each format; a damaged plan file told with exit 1; an interrupt leaves
// no engine and no file behind.
#include "engine/uno/uno_engine.h"
#include "plan/plan_file.h"
#include "plan/plan_keys.h"
#include "tests/support/deck_text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/pdf_words.h"
#include "tests/support/private_engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class ExportCommandTest : public QObject {
    Q_OBJECT

private:
    // For the engine that reads the decks back; the exports see no display.
    PrivateDisplay mDisplay;
    QTemporaryDir mFolder;
    QProcess mProgram;

    QString path(const QString& name) const { return mFolder.filePath(name); }

    // The program with a home and temporary folder of its own and no display.
    void startExport(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            environment.remove(name);
        QDir().mkpath(path("home"));
        QDir().mkpath(path("tmp"));
        environment.insert("HOME", path("home"));
        environment.insert("TEMP", path("tmp"));
        mProgram.setProcessEnvironment(environment);
        mProgram.start(QCoreApplication::applicationDirPath() + "/../program/orvendale",
                       QStringList{"--export"} + arguments);
        QVERIFY(mProgram.waitForStarted());
    }

    // The engines of this test's exports: each runs on a pipe named after
    // its export's process.
    static QList<qint64> exportEngines()
    {
        QList<qint64> engines;
        for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
            QFile commandLine("/proc/" + entry + "/cmdline");
            if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains("orvendale-export-"))
                engines << entry.toLongLong();
        }
        return engines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        PlanFile::Texts plan;
        for (const QString& key : PlanFile::keys())
            plan.insert(key, QString());
        plan[PlanKeys::companyName] = "Fjordlight AS";
        plan[PlanKeys::planTitle] = "Light for the fjords";
        plan["FirstStatement_0"] = "Bring light to every fjord village";
        plan["SecondStatement_1"] = "Revenue grows\r\nChart: Revenue\r\nYear: 2027, 2028\r\nRevenue: 120, 480";
        PlanFile::write(path("plan.orvendale"), plan);
    }

    void cleanup()
    {
        if (mProgram.state() != QProcess::NotRunning) {
            mProgram.kill();
            mProgram.waitForFinished();
        }
    }

    void thePlanBecomesADeckInEachFormat_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"deck.pdf", "deck.pptx", "deck.odp", "deck.ppt"})
            QTest::newRow(name) << name;
    }

    void thePlanBecomesADeckInEachFormat()
    {
        QFETCH(QString, name);
        startExport({path(name), path("plan.orvendale")});
        QVERIFY(mProgram.waitForFinished(120000));
        const QString printed = QString::fromLocal8Bit(mProgram.readAllStandardOutput());
        QVERIFY2(mProgram.exitCode() == 0, qPrintable(mProgram.readAllStandardError()));
        QVERIFY2(printed.contains("slide 2: Mission Statement") && printed.contains("slide 10: Financial Plan: Revenue")
                     && printed.contains("slide 13: Key Issues"),
                 qPrintable(printed));
        // The deck, as a PDF for every format, holds the plan's texts on
        // their slides.
        QString pdf = path(name);
        if (!name.endsWith(".pdf")) {
            PrivateEngine reader;
            UnoEngine engine = reader.engine();
            const auto app = engine.CreateObject();
            const auto deck = app->Presentations().OpenWithoutWindow(path(name));
            pdf = path(name + ".pdf");
            deck->SaveCopyAs(pdf, SaveAsFileType::PDF);
            app->Quit();
            QVERIFY(reader.waitUntilEnded(15000));
        }
        const QList<Page> pages = pagesOf(pdf);
        QCOMPARE(pages.size(), 13);
        QVERIFY(pages.at(0).text().contains("Fjordlight AS"));
        QVERIFY(pages.at(1).text().contains("Bring light to every fjord village"));
        QVERIFY(pages.at(9).text().contains("2028"));
        QVERIFY(exportEngines().isEmpty());
        QVERIFY(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        // Nor the record of its working files in the data folder.
        QVERIFY(QDir(path("home/.local/share/Kervanel/Orvendale/temporary-files")).entryList({"*.list"}).isEmpty());
    }

    void aDamagedPlanFileIsToldWithExitOne()
    {
        writeFile(path("damaged.orvendale"), "{\"format\": \"Orvendale plan\", \"version\": 1, \"plan\": [");
        startExport({path("never.pdf"), path("damaged.orvendale")});
        QVERIFY(mProgram.waitForFinished(30000));
        QCOMPARE(mProgram.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(mProgram.readAllStandardError());
        QVERIFY2(said.contains(path("damaged.orvendale")) && said.contains("cannot be opened as a plan"),
                 qPrintable(said));
        QVERIFY(!QFile::exists(path("never.pdf")));
    }

    // Ctrl+C while the engine fills the deck: the export ends, its engine
    // with it, and neither the deck nor a working file is left.
    void anInterruptLeavesNothingBehind()
    {
        startExport({path("cut.pdf"), path("plan.orvendale")});
        QElapsedTimer timer;
        timer.start();
        while (exportEngines().isEmpty() && timer.elapsed() < 60000)
            QThread::msleep(20);
        QVERIFY(!exportEngines().isEmpty());
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(mProgram.processId()), SIGINT);
        QVERIFY(mProgram.waitForFinished(20000));
        QCOMPARE(mProgram.exitCode(), 130);
        QTRY_VERIFY_WITH_TIMEOUT(exportEngines().isEmpty(), 10000);
        QVERIFY(!QFile::exists(path("cut.pdf")));
        QVERIFY(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_MAIN(ExportCommandTest)
#include "test_export_command.moc"
