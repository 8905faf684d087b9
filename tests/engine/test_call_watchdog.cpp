// The call deadline against processes that stand in for an engine.
#include "engine/uno/call_watchdog.h"
#include "tests/support/private_engine.h"

#include <QProcess>
#include <QTest>

using namespace std::chrono_literals;

class CallWatchdogTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CallWatchdog::setPeriod(CallWatchdog::kDefaultPeriod); }

    // An engine that waits on a lock inside itself sleeps and uses no
    // processor: it is killed after one period, not waited for as busy.
    void aSleepingEngineIsKilledAfterOnePeriod()
    {
        QProcess engine;
        engine.start("sleep", {"60"});
        QVERIFY(engine.waitForStarted());
        CallWatchdog::watchProcess(engine.processId());
        const auto forget = qScopeGuard([&] { CallWatchdog::forgetProcess(engine.processId()); });
        CallWatchdog::setPeriod(300ms);
        QElapsedTimer timer;
        timer.start();
        {
            const CallWatchdog::Guard call;
            QVERIFY(engine.waitForFinished(3000));
        }
        QVERIFY(CallWatchdog::killedAStuckEngine());
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_MAIN(CallWatchdogTest)
#include "test_call_watchdog.moc"
