// The availability checks, with a scripted engine.
#include "generator/availability_checks.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fakes.h"

#include <QTest>

Q_DECLARE_METATYPE(EngineStartFailure)

class AvailabilityChecksTest : public QObject {
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
    }

    // A start that failed is told once, in words for what happened: only a
    // missing engine is called not installed, and only a slow one leaves the
    // program running.
    void aFailedStartIsToldByItsCause_data()
    {
        using Cause = EngineStartFailure::Cause;
        QTest::addColumn<EngineStartFailure>("failure");
        QTest::addColumn<QString>("told");
        QTest::addColumn<int>("ends");
        // clang-format off
        QTest::newRow("missing") << EngineStartFailure{Cause::NotInstalled, "soffice.bin was not found."} << "LibreOffice Impress is not installed on this computer. You need to have it " "installed to use this software without error.\r\n\r\nsoffice.bin was not found." << 1;
        QTest::newRow("too slow") << EngineStartFailure{Cause::TooSlow, "The presentation engine did not answer within 60 seconds."} << "LibreOffice Impress is taking unusually long to start: The presentation engine did not answer within " "60 seconds. A first start after installing it, or on a busy computer, can be that slow. \"Start " "Creating Template\" starts it again." << 0;
        QTest::newRow("broken") << EngineStartFailure{Cause::Broken, "It ended while starting."} << "LibreOffice Impress is installed but could not be started, so Orvendale cannot " "create decks.\r\n\r\nIt ended while starting." << 1;
        // clang-format on
    }

    void aFailedStartIsToldByItsCause()
    {
        QFETCH(EngineStartFailure, failure);
        FakeEngine engine;
        FakeDialogs dialogs;
        FakeProgramEnd end;
        AvailabilityChecks::tellEngineCannotStart(engine, failure, dialogs, end);
        QFETCH(QString, told);
        QFETCH(int, ends);
        QCOMPARE(dialogs.messages, QStringList{told});
        QCOMPARE(end.ends, ends);
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
        QCOMPARE(
            dialogs.questions.first(),
            QString("LibreOffice Impress may be open. It is recommended that you close LibreOffice Impress first.\r"
                    "Use System Monitor > Processes > soffice.bin > End Process if necessary.\r\n\r\n"
                    "Would you like to proceed anyway?"));
        QVERIFY(!engine.state.calls.contains("Quit"));
    }
};

QTEST_MAIN(AvailabilityChecksTest)
#include "test_availability_checks.moc"
