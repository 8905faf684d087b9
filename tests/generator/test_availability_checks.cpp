// The availability checks, with a scripted engine.
#include "fake_engine.h"
#include "fakes.h"
#include "availability_checks.h"

#include <QtTest>

class ChecksTest : public QObject {
    Q_OBJECT

private slots:
    void missingEngineShowsTheMessageAndEndsTheProgram()
    {
        FakeEngine engine;
        FakeDialogs dialogs;
        FakeProgramEnd end;
        AvailabilityChecks::checkEngineInstalled(engine, dialogs, end);
        QCOMPARE(end.ends, 0);
        QVERIFY(dialogs.messages.isEmpty());

        engine.state.installed = false;
        AvailabilityChecks::checkEngineInstalled(engine, dialogs, end);
        QCOMPARE(end.ends, 1);
        QCOMPARE(dialogs.messages,
                 QStringList({"LibreOffice Impress is not installed on this computer. You need to have it "
                              "installed to use this software without error."}));
        QVERIFY(dialogs.errorReports.isEmpty());

        // An engine that is installed but cannot start is told the same way,
        // with what happened.
        AvailabilityChecks::tellEngineCannotStart(engine, "The presentation engine ended while starting.", dialogs, end);
        QCOMPARE(end.ends, 2);
        QCOMPARE(dialogs.messages.last(), dialogs.messages.first() + "\r\n\r\nThe presentation engine ended while starting.");
    }

    void runningCheckAsksOnlyForOurApplicationAndHonoursTheAnswer()
    {
        FakeEngine engine;
        FakeDialogs dialogs;
        QVERIFY(!AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QVERIFY(dialogs.questions.isEmpty());

        engine.state.running = true;
        engine.state.name = "Some Other Application";
        QVERIFY(!AvailabilityChecks::isEngineRunning(engine));
        QVERIFY(!AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QVERIFY(dialogs.questions.isEmpty());

        engine.state.name = "LibreOffice Impress";
        dialogs.answers = {true, false};
        QVERIFY(!AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QVERIFY(AvailabilityChecks::shouldCancelForRunningEngine(engine, dialogs));
        QCOMPARE(dialogs.questions.first(),
                 QString("LibreOffice Impress may be open. It is recommended that you close LibreOffice Impress first.\r"
                         "Use System Monitor > Processes > soffice.bin > End Process if necessary.\r\n\r\n"
                         "Would you like to proceed anyway?"));
        QVERIFY(!engine.state.calls.contains("Quit"));
    }

};

QTEST_MAIN(ChecksTest)
#include "test_availability_checks.moc"
