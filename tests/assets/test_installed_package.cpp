// The Debian package as a user gets it: unpacked into a folder of its own
// and started through its launcher on a private display, the program shows
// its window and fills a deck from the template it carries beside itself.
#include "tests/support/private_engine.h"
#include "tests/support/program_driver.h"
#include "tests/support/program_places.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class InstalledPackageTest : public QObject {
    Q_OBJECT

private:
    PrivateDisplay mDisplay;
    QTemporaryDir mRoot;

private slots:
    void theUnpackedProgramFillsADeckFromItsOwnTemplate()
    {
        QVERIFY2(mDisplay.ok(), "Xvfb could not be started");
        const QDir packages(qEnvironmentVariable("ORVENDALE_PACKAGE_DIR"));
        const QStringList built = packages.entryList({"orvendale_*.deb"});
        QVERIFY2(built.size() == 1, qPrintable(packages.path() + " holds no single package"));
        QProcess unpack;
        unpack.start("dpkg-deb", {"-x", packages.filePath(built.first()), mRoot.path()});
        QVERIFY(unpack.waitForFinished(60000));
        QCOMPARE(unpack.exitCode(), 0);

        ProgramDriver program(mRoot.filePath("usr/bin/orvendale"));
        QVERIFY(program.start());
        const unsigned long window = program.waitForWindow("Orvendale", 60000);
        QVERIFY2(window, qPrintable(program.errorOutput()));
        program.click(program.windowOrigin(window) + QPoint(0, kMenuBarHeight) + kCreateButton);
        // The template's working copy and the deck being filled come from
        // the template beside the unpacked program.
        const QDir temp(program.tempFolder());
        QTRY_VERIFY_WITH_TIMEOUT(temp.entryList({"ps*.ppt"}).size() == 1, 60000);
        QVERIFY(temp.exists("business_plan.ppt"));
        QCOMPARE(program.visibleWindow("Application Error"), 0ul);
        QTRY_VERIFY_WITH_TIMEOUT(processAlive(program.enginePid()), 30000);
        const QString stillRunning = program.endWithItsEngines([&] { program.signal(SIGTERM); });
        QVERIFY2(stillRunning.isEmpty(), qPrintable(stillRunning));
    }
};

QTEST_MAIN(InstalledPackageTest)
#include "test_installed_package.moc"
