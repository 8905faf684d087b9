// The engine's private profile: made when missing, brought up to date when
// an earlier version or the engine itself changed one of its settings, with
// everything else the engine stored left in place.
#include "engine/uno/engine_profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class EngineProfileTest : public QObject {
    Q_OBJECT

private slots:
    void ourSettingsWinAndTheEnginesOwnStay()
    {
        QTemporaryDir profile;
        const QString registry = profile.filePath("user/registrymodifications.xcu");
        QDir().mkpath(profile.filePath("user"));
        QFile stored(registry);
        QVERIFY(stored.open(QIODevice::WriteOnly));
        stored.write(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
            "xmlns:oor=\"http://openoffice.org/2001/registry\">\n"
            "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRun\" oor:op=\"fuse\">"
            "<value>true</value></prop></item>\n"
            "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRunDone\" oor:op=\"fuse\">"
            "<value>7</value></prop></item>\n"
            "</oor:items>\n");
        stored.close();

        prepareEngineProfile(profile.path(), QString());
        const QByteArray xml = readAll(registry);
        QCOMPARE(xml.count("oor:name=\"FirstRun\""), 1);
        QVERIFY(xml.contains("<prop oor:name=\"FirstRun\" oor:op=\"fuse\"><value>false</value>"));
        QVERIFY(xml.contains("<prop oor:name=\"FirstRunDone\" oor:op=\"fuse\"><value>7</value>"));
        QVERIFY(xml.contains("<prop oor:name=\"DisableMacrosExecution\" oor:op=\"fuse\"><value>true</value>"));
        QVERIFY(xml.trimmed().endsWith("</oor:items>"));

        // Up to date, it is left as it is.
        const QDateTime written = QFileInfo(registry).lastModified();
        QTest::qWait(20);
        prepareEngineProfile(profile.path(), QString());
        QCOMPARE(readAll(registry), xml);
        QCOMPARE(QFileInfo(registry).lastModified(), written);

        QTemporaryDir fresh;
        prepareEngineProfile(fresh.path(), QString());
        QVERIFY(readAll(fresh.filePath("user/registrymodifications.xcu")).contains("oor:name=\"ImpressView\""));
    }

    // A profile that has not seen the installed version would make the
    // engine test its drawing for seconds at start and show version news.
    void theProfileHasSeenTheInstalledEngineVersion()
    {
        QTemporaryDir installation, profile;
        QDir().mkpath(installation.filePath("share/registry"));
        QDir().mkpath(installation.filePath("program"));
        QFile registry(installation.filePath("share/registry/main.xcd"));
        QVERIFY(registry.open(QIODevice::WriteOnly));
        registry.write(
            "<prop oor:name=\"ooSetupVersionAboutBox\">\n<value>9.1.0.3</value></prop>\n"
            "<prop oor:name=\"ooSetupVersion\">\n        <value>9.1</value>\n</prop>\n");
        registry.close();

        prepareEngineProfile(profile.path(), installation.filePath("program/soffice.bin"));
        QVERIFY(readAll(profile.filePath("user/registrymodifications.xcu"))
                    .contains("<prop oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\"><value>9.1</value>"));
        // The About box names the full version.
        QCOMPARE(installedProductValue(installation.filePath("program/soffice.bin"), "ooSetupVersionAboutBox"),
                 QByteArray("9.1.0.3"));
    }
};

QTEST_MAIN(EngineProfileTest)
#include "test_engine_profile.moc"
