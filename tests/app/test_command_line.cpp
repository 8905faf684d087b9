// The program's arguments, read once: the window, an export, help, version,
// or a usage error said on the terminal without a display.
#include "app/command_line.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreReadOnce_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("run");
        // The deck and the plan, or what was wrong.
        QTest::addColumn<QString>("read");
        using Run = CommandLine::Run;
        // clang-format off
        QTest::newRow("nothing") << QStringList{} << int(Run::Window) << "|";
        QTest::newRow("a plan to open") << QStringList{"plan.orvendale"} << int(Run::Window) << "|plan.orvendale";
        QTest::newRow("export") << QStringList{"--export", "d.pdf", "p.orvendale"} << int(Run::Export) << "d.pdf|p.orvendale";
        QTest::newRow("export with =") << QStringList{"--export=d.pdf"} << int(Run::Export) << "d.pdf|";
        QTest::newRow("the plan first") << QStringList{"p.orvendale", "--export", "d.pdf"} << int(Run::Export) << "d.pdf|p.orvendale";
        QTest::newRow("standard input") << QStringList{"--export", "d.pdf", "-"} << int(Run::Export) << "d.pdf|-";
        QTest::newRow("help") << QStringList{"-h"} << int(Run::Help) << "";
        QTest::newRow("version") << QStringList{"--version"} << int(Run::Version) << "";
        QTest::newRow("export without a deck") << QStringList{"--export"} << int(Run::UsageError) << "--export needs the name of the deck to make";
        QTest::newRow("an empty deck") << QStringList{"--export="} << int(Run::UsageError) << "the deck's name is empty";
        QTest::newRow("two decks") << QStringList{"--export", "a.pdf", "--export", "b.pdf"} << int(Run::UsageError) << "one deck at a time, not 2";
        QTest::newRow("an unknown option") << QStringList{"--bogus"} << int(Run::UsageError) << "there is no option --bogus";
        QTest::newRow("an unknown short option") << QStringList{"-x", "p.orvendale"} << int(Run::UsageError) << "there is no option -x";
        QTest::newRow("two plans") << QStringList{"--export", "d.pdf", "a", "b"} << int(Run::UsageError) << "one plan at a time, not 2 (a, b)";
        QTest::newRow("an empty plan") << QStringList{"--export", "d.pdf", ""} << int(Run::UsageError) << "the plan's name is empty";
        QTest::newRow("the window from standard input") << QStringList{"-"} << int(Run::UsageError) << "the window opens a plan file, not standard input";
        QTest::newRow("import") << QStringList{"--import", "plan.docx", "p.orvendale"} << int(Run::Import) << "plan.docx|p.orvendale";
        QTest::newRow("import without a document") << QStringList{"p.orvendale", "--import"} << int(Run::UsageError) << "--import needs the name of the document to read";
        QTest::newRow("import without a plan file") << QStringList{"--import", "plan.docx"} << int(Run::UsageError) << "--import needs the name of the plan file to write";
        QTest::newRow("import to standard output") << QStringList{"--import", "plan.docx", "-"} << int(Run::UsageError) << "--import needs the name of the plan file to write";
        QTest::newRow("import and export") << QStringList{"--import", "plan.docx", "--export", "d.pdf", "p"} << int(Run::UsageError) << "--import and --export are two commands: run one, then the other";
        // clang-format on
    }

    void argumentsAreReadOnce()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, run);
        QFETCH(QString, read);
        const CommandLine commandLine = parseCommandLine(QStringList{"orvendale"} + arguments);
        QCOMPARE(int(commandLine.run), run);
        if (run == int(CommandLine::Run::UsageError))
            QCOMPARE(commandLine.text, read);
        else if (run != int(CommandLine::Run::Help) && run != int(CommandLine::Run::Version))
            QCOMPARE(commandLine.deck + commandLine.document + "|" + commandLine.plan, read);
    }

    void answersNeedNoDisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("told");
        // clang-format off
        QTest::newRow("help") << "--help" << 0 << "Usage: orvendale" << "";
        QTest::newRow("version") << "--version" << 0 << "orvendale 0." << "";
        QTest::newRow("a usage error") << "--export" << 64 << "" << "orvendale: --export needs the name of the deck to make.\nUsage: orvendale " "[plan.orvendale | document] | orvendale --export deck [plan.orvendale | - | document] | orvendale --import document plan.orvendale\n";
        // clang-format on
    }

    void answersNeedNoDisplay()
    {
        QFETCH(QString, option);
        QFETCH(int, code);
        QFETCH(QString, printed);
        QFETCH(QString, told);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationDirPath() + "/../program/orvendale", {option});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), code);
        QVERIFY(QString::fromLocal8Bit(program.readAllStandardOutput()).contains(printed));
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), told);
    }
};

QTEST_MAIN(CommandLineTest)
#include "test_command_line.moc"
