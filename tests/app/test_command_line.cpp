// The program answers --help and --version on a terminal without a display.
#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        for (const auto& [option, expected] : {std::pair{QString("--help"), QString("Usage: orvendale")},
                                               std::pair{QString("--version"), QString("orvendale 0.")}}) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QCoreApplication::applicationDirPath() + "/../program/orvendale", {option});
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitCode(), 0);
            QVERIFY2(QString::fromLocal8Bit(program.readAllStandardOutput()).contains(expected), qPrintable(option));
        }
    }
};

QTEST_MAIN(CommandLineTest)
#include "test_command_line.moc"
