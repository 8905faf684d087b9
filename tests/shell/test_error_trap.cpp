#include "shell/error_report.h"
#include "shell/error_trap.h"
#include "shell/product.h"
#include "tests/support/fakes.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class ErrorTrapTest : public QObject {
    Q_OBJECT

private slots:
    void reportTextNamesDescriptionLocationAndLine()
    {
        const QString location = ErrorReport::location("Form1", "PushButton1_Click");
        QCOMPARE(location, QString("in Quenlith2021/08/31.Form1.PushButton1_Click "));
        QCOMPARE(ErrorReport::text("Disk full", location, 112),
                 QString("Disk full\r\nin Quenlith2021/08/31.Form1.PushButton1_Click at line 112"
                         "\r\rPlease email screenshot of this message to ")
                     + Product::supportEmail);
        QVERIFY(ErrorReport::text("", location, 100).startsWith("\r\nin Quenlith"));
    }

    void failingStepsAreReportedInOrderAndTheProcedureRunsToItsEnd()
    {
        FakeDialogs dialogs;
        QStringList ran;
        ErrorTrap trap(dialogs, ErrorReport::location("Form1", "Form_Load"));
        trap.step(100, [&] {
            throw Failure("first");
            ran << "never";
        });
        trap.step(104, [&] { ran << "104"; });
        trap.step(106, [&] { throw std::runtime_error("second"); });
        trap.step(108, [&] { ran << "108"; });

        QCOMPARE(ran, QStringList({"104", "108"}));
        QCOMPARE(dialogs.errorReports.size(), 2);
        QVERIFY(dialogs.errorReports[0].startsWith("first\r\nin Quenlith2021/08/31.Form1.Form_Load at line 100\r\r"));
        QVERIFY(dialogs.errorReports[1].startsWith("second\r\nin Quenlith2021/08/31.Form1.Form_Load at line 106\r\r"));
    }

    void failingTestRunsTheGuardedSteps()
    {
        FakeDialogs dialogs;
        ErrorTrap trap(dialogs, "loc ");
        QVERIFY(trap.test(106, []() -> bool { throw Failure("cannot tell"); }));
        QVERIFY(!trap.test(106, [] { return false; }));
        QCOMPARE(dialogs.errorReports.size(), 1);
        QVERIFY(dialogs.errorReports[0].contains("at line 106"));
    }

    void silentTrapSkipsFailuresWithoutABox()
    {
        int after = 0;
        ErrorTrap trap = ErrorTrap::silent();
        QVERIFY(!trap.step(100, [] { throw Failure("ignored"); }));
        QVERIFY(trap.test(102, []() -> bool { throw Failure("ignored"); }));
        trap.step(104, [&] { ++after; });
        QCOMPARE(after, 1);
    }
};

QTEST_MAIN(ErrorTrapTest)
#include "test_error_trap.moc"
