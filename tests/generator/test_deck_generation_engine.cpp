// Deck generation against a real, private engine instance; each run takes at
// least seven seconds because of the pauses the user watches.
#include "deck_text.h"
#include "fakes.h"
#include "deck_generation.h"
#include "private_engine.h"
#include "settings_store.h"
#include "system_side_effects.h"
#include "uno_engine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include <csignal>

class GenerationTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    PrivateEngine mEngine;
    std::unique_ptr<QTemporaryDir> mProgram;
    std::unique_ptr<QTemporaryDir> mTemp;
    std::unique_ptr<SettingsStore> mStore;
    FakeDialogs mDialogs;
    SystemClock mClock;

    void generate(const QString& target, const QString& company = "Acme & Co")
    {
        UnoEngine engine = mEngine.engine();
        generateWith(engine, target, company);
    }

    void generateWith(PresentationEngine& engine, const QString& target, const QString& company = "Acme & Co")
    {
        DeckGeneration::generateBusinessPlan(
            target, {[&] { return company; }, [] { return QString("Plan 2027"); }, *mStore},
            {engine, mDialogs, mClock, mProgram->path()});
    }

    // Reads every section shape of a deck, slide 2 to 12, and the title slide.
    QStringList readDeck(const QString& path, int slides = 12)
    {
        UnoEngine engine = mEngine.engine();
        const auto app = engine.CreateObject();
        const auto deck = app->Presentations().OpenWithoutWindow(path);
        QStringList texts = {shapeText(*app, *deck, 1, "Rectangle 2"), shapeText(*app, *deck, 1, "Rectangle 3")};
        for (int slide = 2; slide <= slides; ++slide)
            texts << shapeText(*app, *deck, slide, "Rectangle 3");
        app->Quit();
        return texts;
    }

private slots:
    void initTestCase() { QVERIFY2(mDisplay.ok(), "Xvfb could not be started"); }

    void init()
    {
        mProgram = std::make_unique<QTemporaryDir>();
        mTemp = std::make_unique<QTemporaryDir>();
        qputenv("TEMP", mTemp->path().toLocal8Bit());
        mStore = std::make_unique<SettingsStore>(mTemp->filePath("store.json"));
        mDialogs = FakeDialogs();
    }

    void cleanup()
    {
        QVERIFY2(mEngine.waitUntilEnded(15000), "an engine process was left running");
        mEngine.kill();
    }

    void everySectionRuleEndsUpInTheSavedDeck()
    {
        QFile::copy(templateDeck(), mProgram->filePath("business_plan.ppt"));
        mStore->saveSetting("FirstStatement_0", "Heading\r\n- hint\r\nMine");
        mStore->saveSetting("FirstStatement_1", "- only\r\n- hints");
        mStore->saveSetting("FirstStatement_3", "No final break");
        mStore->saveSetting("FirstStatement_4", "Ends with a break\r\n");
        mStore->saveSetting("FirstStatement_5", " - kept\r\n-dropped");
        mStore->saveSetting("SecondStatement_0", QString::fromUtf8("Größe 中文\r\n\r\nnach der Leerzeile"));
        const QString target = mTemp->filePath("ps11111111.ppt");

        generate(target);

        QVERIFY2(mDialogs.errorReports.isEmpty(), qPrintable(mDialogs.errorReports.join("\n")));
        QVERIFY(QFile::exists(mTemp->filePath("business_plan.ppt")));
        QCOMPARE(readDeck(target), QStringList({
                                       "Acme & Co", "Plan 2027",
                                       "Heading\r\nMine\r\n", "", "",
                                       "No final break\r\n", "Ends with a break\r\n\r\n", " - kept\r\n",
                                       QString::fromUtf8("Größe 中文\r\n\r\nnach der Leerzeile\r\n"),
                                       "", "", "", "",
                                   }));
    }

    // One failure of the engine or of the template is told once, at its
    // own step; the steps that cannot run after it say nothing.
    void anEngineThatCannotRunOrADamagedTemplateIsToldOnce()
    {
        X11WindowSystem windows;
        QFile::copy(templateDeck(), mProgram->filePath("business_plan.ppt"));
        const auto toldOnceAt = [&](int line, const QString& what) {
            QVERIFY2(mDialogs.reportedLines() == QList<int>({line}), qPrintable(what + ": " + mDialogs.errorReports.join("\n")));
            QVERIFY(mDialogs.messages.isEmpty());
            mDialogs = FakeDialogs();
        };

        // The engine's profile cannot be made (its folder lies below a file).
        EngineSettings noProfile = mEngine.settings();
        QFile(mTemp->filePath("a-file")).open(QIODevice::WriteOnly);
        noProfile.profileDir = mTemp->filePath("a-file/profile");
        UnoEngine withoutProfile(windows, noProfile);
        generateWith(withoutProfile, mTemp->filePath("ps60000001.ppt"));
        toldOnceAt(100, "no profile");

        // The engine ends as soon as it starts.
        UnoEngine ending(windows, mEngine.withStandInProgram("ends-at-once", "exit 0"));
        generateWith(ending, mTemp->filePath("ps60000002.ppt"));
        toldOnceAt(100, "ends at once");
        QVERIFY(QDir(mTemp->path()).entryList({"orvendale-engine-*"}).isEmpty());

        // The template is damaged.
        QFile damaged(mProgram->filePath("business_plan.ppt"));
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(4096, 'z'));
        damaged.close();
        generate(mTemp->filePath("ps60000003.ppt"));
        toldOnceAt(114, "damaged template");
        QVERIFY(mEngine.waitUntilEnded(15000));

        // The engine is killed while the deck is filled.
        QFile::remove(mProgram->filePath("business_plan.ppt"));
        QFile::copy(templateDeck(), mProgram->filePath("business_plan.ppt"));
        QTimer::singleShot(3000, [&] { mEngine.signal(mEngine.pid(), SIGKILL); });
        QElapsedTimer timer;
        timer.start();
        generate(mTemp->filePath("ps60000004.ppt"));
        QCOMPARE(mDialogs.reportedLines().size(), 1);
        QVERIFY2(mDialogs.errorReports.first().contains("no longer running"), qPrintable(mDialogs.errorReports.first()));
        QVERIFY2(timer.elapsed() < 5000, "the pauses went on after the engine had gone");
    }

    void templateOnlyInTempIsFilledInTheRunningInstanceWhichIsQuit()
    {
        QFile::copy(templateDeck(), mTemp->filePath("business_plan.ppt"));
        mStore->saveSetting("SecondStatement_4", "Short term:\r\nHire two growers");
        UnoEngine engine = mEngine.engine();
        const auto running = engine.CreateObject();
        running->setVisible(true);
        QFile::copy(templateDeck(), mTemp->filePath("ps00000000.ppt"));
        const auto other = running->Presentations().OpenWithoutWindow(mTemp->filePath("ps00000000.ppt"));
        other->SlideShowSettings().Run();
        const qint64 pid = mEngine.pid();
        const QString target = mTemp->filePath("ps22222222.ppt");

        generate(target);

        QVERIFY(mDialogs.errorReports.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(pid), 15000);
        const QStringList deck = readDeck(target);
        QCOMPARE(deck.first(), QString("Acme & Co"));
        QCOMPARE(deck.last(), QString("Short term:\r\nHire two growers\r\n"));
    }

    void noTemplateAnywhereMakesNoFileAndNoMessage()
    {
        const QString target = mTemp->filePath("ps33333333.ppt");
        generate(target);
        QVERIFY(!QFile::exists(target));
        QVERIFY(mDialogs.errorReports.isEmpty());
        QVERIFY(mDialogs.messages.isEmpty());
    }

    void elevenSlideTemplateReportsTheStepsOfSlideTwelveAndIsStillSaved()
    {
        QCOMPARE(QProcess::execute(QCoreApplication::applicationDirPath() + "/make_template",
                                   {QFINDTESTDATA("../../assets/business_plan.json"),
                                    mProgram->filePath("business_plan.ppt"), mTemp->filePath("work"), "10"}),
                 0);
        mStore->saveSetting("SecondStatement_3", "Risks we know");
        const QString target = mTemp->filePath("ps44444444.ppt");

        generate(target);

        QCOMPARE(mDialogs.reportedLines(), QList<int>({422, 424, 426, 428, 444}));
        QVERIFY(mDialogs.errorReports.first().contains("no slide 12"));
        QCOMPARE(readDeck(target, 11).last(), QString("Risks we know\r\n"));
    }

    void controlCharactersAreDroppedAndTooLongTextsCutAtALineAndReported()
    {
        QFile::copy(templateDeck(), mProgram->filePath("business_plan.ppt"));
        QStringList lines;
        for (int i = 0; i < 100; ++i)
            lines << QString("%1 ").arg(i, 3, 10, QChar('0')) + QString(396, 'y');
        mStore->saveSetting("FirstStatement_0", QString("Before") + QChar(0) + "after\tTab" + QChar(7) + "!");
        mStore->saveSetting("FirstStatement_1", lines.join("\r\n"));
        mStore->saveSetting("FirstStatement_2", QString(40000, 'x'));
        const QString target = mTemp->filePath("ps55555555.ppt");

        generate(target, QString("Acme") + QChar(0) + " AS");

        // Slides 3 and 4 are reported, each by its own writing step.
        QCOMPARE(mDialogs.reportedLines(), QList<int>({192, 220}));
        QVERIFY(mDialogs.errorReports[0].startsWith("The section on slide 3 (\"000 yyy"));
        QVERIFY(mDialogs.errorReports[1].startsWith("The section on slide 4 (\"xxx"));
        const QStringList deck = readDeck(target);
        QCOMPARE(deck[0], QString("Acme AS"));
        QCOMPARE(deck[2], QString("Beforeafter\tTab!\r\n"));
        QCOMPARE(deck[3], lines.first(32767 / 401).join("\r\n"));
        // The deck's reader breaks a line this long into parts of its own.
        QVERIFY(deck[4].count('x') >= 32000);
        QVERIFY(QString(deck[4]).replace("\r\n", "\n").size() <= DeckGeneration::maxSlideTextLength);
    }
};

QTEST_MAIN(GenerationTest)
#include "test_deck_generation_engine.moc"
